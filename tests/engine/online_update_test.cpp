#include "history/update.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/derivation.h"
#include "core/edition.h"
#include "core/errors.h"
#include "tests/support/stored_history.h"

namespace zs {
namespace {

constexpr EditionChoice kGuangdong = EditionChoice::Of(0);  // 84 draws a day
constexpr EditionChoice kChongqing = EditionChoice::Of(3);  // 97 draws a day
constexpr Date kToday{2014, 1, 16};

Numbers NumbersOf(int32_t issue) {
  Numbers numbers;
  for (int k = 0; k < kPositions; ++k) numbers[size_t(k)] = int((issue + k * 7) % 20) + 1;
  return numbers;
}

// One draw as the results page shows it: the issue, then the numbers, the
// first directly after the issue and the others after one separator.
std::string DrawText(int32_t issue, const Numbers& numbers, const std::string& separator) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%08d", issue);
  std::string text = digits;
  for (int k = 0; k < kPositions; ++k) {
    char number[4];
    std::snprintf(number, sizeof number, "%02d", numbers[size_t(k)]);
    text += (k == 0 ? "" : separator) + number;
  }
  return text;
}

// A results page with one table row per draw, in the given order.
std::string Page(const std::vector<int32_t>& issues, const std::string& before = "",
                 const std::string& separator = "&nbsp;") {
  std::string html = "<html><head><title>开奖结果</title></head><body>" + before +
                     "<table><tr><th>日期</th><th>期号 号码</th></tr>";
  for (int32_t issue : issues) {
    html +=
        "<tr><td>2014-01-xx</td><td>" + DrawText(issue, NumbersOf(issue), separator) + "</td></tr>";
  }
  return html + "</table></body></html>";
}

std::vector<int32_t> Issues(int32_t first, int32_t last) {
  std::vector<int32_t> issues;
  for (int32_t issue = first; issue <= last; ++issue) issues.push_back(issue);
  return issues;
}

std::vector<int32_t> Reversed(std::vector<int32_t> issues) {
  return {issues.rbegin(), issues.rend()};
}

class OnlineUpdateTest : public ::testing::Test {
 protected:
  OnlineUpdateTest() : store_(HistoryStore::OpenMemory()) {
    settings_.edition = kGuangdong;
    settings_.keptDays = 6;
    settings_.resultsUrl = "http://127.0.0.1:8090/{code}/?n={n}";
  }

  void StoreHistory(const std::vector<int32_t>& issues) {
    std::vector<Draw> draws;
    for (int32_t issue : issues) draws.push_back({issue, NumbersOf(issue)});
    store_->ReplaceAllDraws(draws, Rules());
  }

  DerivationRules Rules() const { return DerivationRules::From(settings_); }

  std::vector<int32_t> StoredIssues() {
    std::vector<int32_t> issues;
    for (const Draw& draw : store_->LoadDraws()) issues.push_back(draw.issue);
    return issues;
  }

  // Plans, reads and stores as an update does.
  UpdateReport Apply(const std::string& page, const Date& today = kToday,
                     const UpdateDeadline& deadline = UpdateDeadline::FromNow(30)) {
    const UpdatePlan plan = PlanUpdate(*store_, settings_, today);
    return StoreResultsPage(*store_, plan, settings_, today, ReadResultsPage(plan, page, deadline));
  }

  std::unique_ptr<HistoryStore> store_;
  Settings settings_;
};

TEST(ResultsAddressTest, ReplacesEveryPlaceholder) {
  EXPECT_EQ(ResultsAddress("http://127.0.0.1:8090/{code}/?n={n}", "gd", 588),
            "http://127.0.0.1:8090/gd/?n=588");
  EXPECT_EQ(ResultsAddress("http://{code}.example/{code}?n={n}&m={n}", "hlj", 7),
            "http://hlj.example/hlj?n=7&m=7");
  EXPECT_EQ(ResultsAddress("http://127.0.0.1/fixed", "gd", 588), "http://127.0.0.1/fixed");
}

TEST(CandidateIssuesTest, OnlyValidIssues) {
  const IssueRule rule{84, false};
  struct Case {
    int32_t first, last;
    size_t count;
    int32_t front, back;
  };
  const Case cases[] = {
      {14011685, 14011710, 10, 14011701, 14011710},  // past the day's last draw
      {14011700, 14011701, 1, 14011701, 14011701},   // sequence 00 after a carry
      {13123185, 14010184, 84, 14010101, 14010184},  // year boundary
      {14013185, 14020102, 2, 14020101, 14020102},   // month end
      {14022901, 14030101, 1, 14030101, 14030101},   // no 29 February in 2014
      {14011001, 14011684, 7 * 84, 14011001, 14011684},
      {14011690, 14011684, 0, 0, 0},  // nothing after today
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.first);
    const std::vector<int32_t> issues = CandidateIssues(c.first, c.last, rule);
    ASSERT_EQ(issues.size(), c.count);
    if (c.count == 0) continue;
    EXPECT_EQ(issues.front(), c.front);
    EXPECT_EQ(issues.back(), c.back);
  }
}

TEST(CandidateIssuesTest, LeapDayAndNinetySevenDraws) {
  const std::vector<int32_t> issues = CandidateIssues(16022897, 16030101, IssueRule{97, false});
  ASSERT_EQ(issues.size(), 1u + 97u + 1u);
  EXPECT_EQ(issues[0], 16022897);
  EXPECT_EQ(issues[1], 16022901);
  EXPECT_EQ(issues[97], 16022997);
  EXPECT_EQ(issues[98], 16030101);
}

TEST(CandidateIssuesTest, IssuesOfTheYearsBeforeTwentyTen) {
  const std::vector<int32_t> issues = CandidateIssues(9123184, 10010101, IssueRule{84, false});
  EXPECT_EQ(issues, (std::vector<int32_t>{9123184, 10010101}));
}

TEST_F(OnlineUpdateTest, EmptyHistoryAsksForTheDaysKeptPlusOne) {
  const UpdatePlan plan = PlanUpdate(*store_, settings_, kToday);
  EXPECT_EQ(plan.address, "http://127.0.0.1:8090/gd/?n=588");
  EXPECT_EQ(plan.firstIssue, 14011001);
  EXPECT_EQ(plan.lastIssue, 14011684);
  EXPECT_FALSE(plan.dropHistory);

  settings_.edition = kChongqing;
  settings_.keptDays = 2;
  EXPECT_EQ(PlanUpdate(*store_, settings_, kToday).address, "http://127.0.0.1:8090/cq/?n=291");
  EXPECT_EQ(PlanUpdate(*store_, settings_, kToday).lastIssue, 14011697);
}

TEST_F(OnlineUpdateTest, EmptyHistoryStoresEveryDrawOfTheSpan) {
  const UpdateReport report =
      Apply(Page(Issues(14010901, 14010984)) + Page(Issues(14011001, 14011684)));
  EXPECT_EQ(report.added, 7 * 84);
  EXPECT_EQ(report.firstIssue, 14011001);
  EXPECT_EQ(report.lastIssue, 14011684);
  EXPECT_EQ(report.address, "http://127.0.0.1:8090/gd/?n=588");
  const std::vector<int32_t> stored = StoredIssues();
  ASSERT_EQ(stored.size(), 7u * 84u);
  EXPECT_EQ(stored.front(), 14011001);
  EXPECT_EQ(stored.back(), 14011684);
}

TEST_F(OnlineUpdateTest, AfterTheLastDrawOfADayTheNextDayFollows) {
  StoreHistory(Issues(14011583, 14011584));
  settings_.keptDays = 6;
  const Date tomorrow{2014, 1, 17};
  std::vector<int32_t> listed = Issues(14011601, 14011684);
  const std::vector<int32_t> next = Issues(14011701, 14011703);
  listed.insert(listed.end(), next.begin(), next.end());
  const UpdateReport report = Apply(Page(listed), tomorrow);
  EXPECT_EQ(report.added, 84 + 3);

  StoreHistory(Issues(14011680, 14011684));
  const UpdateReport after = Apply(Page(listed), tomorrow);
  EXPECT_EQ(after.firstIssue, 14011701);
  EXPECT_EQ(after.lastIssue, 14011784);
  EXPECT_EQ(after.added, 3);
  EXPECT_EQ(StoredIssues(), (std::vector<int32_t>{14011680, 14011681, 14011682, 14011683, 14011684,
                                                  14011701, 14011702, 14011703}));
}

TEST_F(OnlineUpdateTest, StoredRowsAreTheDrawDerivation) {
  Apply(Page({14011601, 14011602}));
  const std::vector<HistoryRow> rows = testing::StoredRows(*store_);
  ASSERT_EQ(rows.size(), 2u);
  for (const HistoryRow& row : rows) {
    HistoryRow expected = DeriveRow({row.issue, NumbersOf(row.issue)}, Rules());
    expected.idx = row.idx;
    EXPECT_EQ(row, expected);
  }
  EXPECT_EQ(rows[0].idx, 1);
  EXPECT_EQ(rows[1].idx, 2);
}

TEST_F(OnlineUpdateTest, AgeCheck) {
  struct Case {
    int32_t firstStored;
    bool dropped;
  };
  // Today is 16 January, six days are kept: 10 January stays, 9 January goes.
  for (const Case c : {Case{14011001, false}, Case{14010984, true}, Case{13123101, true}}) {
    SCOPED_TRACE(c.firstStored);
    StoreHistory({c.firstStored, 14011601});
    EXPECT_EQ(PlanUpdate(*store_, settings_, kToday).dropHistory, c.dropped);
    const UpdateReport report = Apply(Page(Issues(14011001, 14011603)));
    EXPECT_EQ(report.dropped, c.dropped ? 2 : 0);
    const std::vector<int32_t> stored = StoredIssues();
    if (c.dropped) {
      // Only what the page holds of the days kept.
      EXPECT_EQ(report.firstIssue, 14011001);
      EXPECT_EQ(stored.front(), 14011001);
      EXPECT_EQ(stored.size(), size_t(report.added));
    } else {
      EXPECT_EQ(report.firstIssue, 14011602);
      EXPECT_EQ(stored, (std::vector<int32_t>{c.firstStored, 14011601, 14011602, 14011603}));
    }
  }
}

TEST_F(OnlineUpdateTest, PageWithoutDrawsChangesNothingNotEvenTheAgeCheck) {
  StoreHistory({14010901, 14010902});  // old enough to be dropped
  const std::string withoutDraws[] = {
      "", "<html><body><p>服务器维护中</p></body></html>",
      "<script>var d = '" + DrawText(14011601, NumbersOf(14011601), " ") + "';</script>",
      Page({14011601}, "", "") + "<p>1401160103 07</p>",  // numbers run together, or cut short
  };
  for (const std::string& page : withoutDraws) {
    SCOPED_TRACE(page);
    EXPECT_THROW(Apply(page), InputError);
    EXPECT_EQ(StoredIssues(), (std::vector<int32_t>{14010901, 14010902}));
  }
}

TEST_F(OnlineUpdateTest, NoEditionRefusesAndChangesNothing) {
  StoreHistory({14010901});
  for (int stored : {556, 568, 8, -1}) {
    settings_.edition = EditionChoice::FromStored(stored);
    EXPECT_THROW(PlanUpdate(*store_, settings_, kToday), InputError);
    try {
      Apply(Page({14011601}));
      ADD_FAILURE() << "edition " << stored << " was accepted";
    } catch (const InputError& error) {
      EXPECT_STREQ(error.what(), kNoEditionMessage);
    }
    EXPECT_EQ(StoredIssues(), std::vector<int32_t>{14010901});
  }
}

TEST_F(OnlineUpdateTest, NewestFirstPageYieldsEveryDraw) {
  const std::vector<int32_t> issues = Issues(14011601, 14011684);
  const UpdateReport report = Apply(Page(Reversed(issues)));
  EXPECT_EQ(report.added, 84);
  EXPECT_EQ(StoredIssues(), issues);
}

TEST_F(OnlineUpdateTest, ScriptStyleAndCommentsThatLookLikeDrawsAreIgnored) {
  const Numbers fake{20, 20, 20, 20, 20, 20, 20, 20};
  const std::string hidden = "<script>var latest = '" + DrawText(14011601, fake, " ") +
                             "';</script>" + "<style>/* " + DrawText(14011602, fake, " ") +
                             " */</style>" + "<!-- " + DrawText(14011603, fake, " ") + " -->" +
                             "<noscript>" + DrawText(14011604, fake, " ") + "</noscript>";
  Apply(Page({14011601, 14011602}, hidden));
  const std::vector<Draw> draws = store_->LoadDraws();
  EXPECT_EQ(draws,
            (std::vector<Draw>{{14011601, NumbersOf(14011601)}, {14011602, NumbersOf(14011602)}}));
}

TEST_F(OnlineUpdateTest, SeparatorsAreCharactersNotBytes) {
  // Entities, a three-byte separator, and a GB18030 page whose separator is
  // two bytes: offsets count characters in every case.
  for (const std::string separator : {"&nbsp;", "&middot;", "、", ",", "&#44;"}) {
    SCOPED_TRACE(separator);
    store_->Clear();
    EXPECT_EQ(Apply(Page({14011601, 14011602}, "", separator)).added, 2);
    EXPECT_EQ(store_->LoadDraws()[1], (Draw{14011602, NumbersOf(14011602)}));
  }
  store_->Clear();
  const std::string gbComma = "\xa3\xac";  // '，' in GB18030
  EXPECT_EQ(Apply("<p>" + DrawText(14011601, NumbersOf(14011601), gbComma) + "</p>").added, 1);
  EXPECT_EQ(store_->LoadDraws().at(0), (Draw{14011601, NumbersOf(14011601)}));
}

TEST_F(OnlineUpdateTest, DigitsWrittenAsEntitiesAreRead) {
  Apply("<p>&#49;4011601&#48;3 07 15 08 19 20 11 1&#x34;</p>");
  EXPECT_EQ(store_->LoadDraws(), (std::vector<Draw>{{14011601, {3, 7, 15, 8, 19, 20, 11, 14}}}));
}

TEST_F(OnlineUpdateTest, UnreadableNumbersAreNotStored) {
  const std::string page =
      "<p>1401160121 02 03 04 05 06 07 08</p>"   // 21 is no number
      "<p>1401160200 02 03 04 05 06 07 08</p>"   // nor is 00
      "<p>1401160301 02 x3 04 05 06 07 08</p>"   // nor x3
      "<p>1401160401 02 03 04 05 06 07 08</p>";  // readable
  const UpdateReport report = Apply(page);
  EXPECT_EQ(report.added, 1);
  EXPECT_EQ(report.unreadable, 3);
  EXPECT_EQ(StoredIssues(), std::vector<int32_t>{14011604});
}

TEST_F(OnlineUpdateTest, ALaterReadableListingOfAnIssueCounts) {
  // A heading names the newest issue before the table lists it with numbers.
  const UpdateReport report = Apply(Page({14011601}, "<h2>最新一期：14011601期</h2>"));
  EXPECT_EQ(report.added, 1);
  EXPECT_EQ(report.unreadable, 0);
}

TEST_F(OnlineUpdateTest, ShownIssuesWithTheCenturyAreFound) {
  // "20" + issue: the issue's digits sit inside a longer run of digits.
  Apply("<p>20" + DrawText(14011601, NumbersOf(14011601), " ") + "</p>");
  EXPECT_EQ(StoredIssues(), std::vector<int32_t>{14011601});
}

TEST_F(OnlineUpdateTest, ReadingPastTheDeadlineChangesNothing) {
  StoreHistory({14010901, 14010902});  // old enough to be dropped
  const UpdateDeadline passed{std::chrono::steady_clock::now() - std::chrono::seconds(1), 30};
  EXPECT_THROW(Apply(Page(Issues(14011601, 14011684)), kToday, passed), InputError);
  EXPECT_EQ(StoredIssues(), (std::vector<int32_t>{14010901, 14010902}));
}

// Another program stores a draw while the page is fetched: the page read for
// the old plan is not stored.
TEST_F(OnlineUpdateTest, APlanOvertakenByAnotherChangeStoresNothing) {
  StoreHistory(Issues(14011601, 14011602));
  const UpdatePlan plan = PlanUpdate(*store_, settings_, kToday);
  const PageReadout readout =
      ReadResultsPage(plan, Page(Issues(14011601, 14011605)), UpdateDeadline::FromNow(30));
  StoreHistory(Issues(14011601, 14011603));
  EXPECT_THROW(StoreResultsPage(*store_, plan, settings_, kToday, readout), StoreError);
  EXPECT_EQ(StoredIssues(), Issues(14011601, 14011603));
}

TEST_F(OnlineUpdateTest, TodayOutsideTheIssueYearsIsRefused) {
  for (const Date today : {Date{2100, 1, 1}, Date{4200, 1, 1}, Date{1999, 12, 31}}) {
    SCOPED_TRACE(today.year);
    EXPECT_THROW(PlanUpdate(*store_, settings_, today), InputError);
  }
  // Early in 2000 the days kept reach back no further than 1 January 2000.
  EXPECT_EQ(PlanUpdate(*store_, settings_, Date{2000, 1, 3}).firstIssue, 10101);
}

TEST(PageDrawsTest, KeepsOnlyTheLookedUpIssues) {
  const PageDraws page("x 1401160101 02 03 04 05 06 07 08\n1401160220,19,18,17,16,15,14,13 y",
                       {14011602, 14011603}, UpdateDeadline::FromNow(30));
  EXPECT_EQ(page.Find(14011601), nullptr);  // listed, but not looked up
  ASSERT_NE(page.Find(14011602), nullptr);
  EXPECT_TRUE(page.Find(14011602)->readable);
  EXPECT_EQ(page.Find(14011602)->numbers, (Numbers{20, 19, 18, 17, 16, 15, 14, 13}));
  EXPECT_EQ(page.Find(14011603), nullptr);  // looked up, not listed
  EXPECT_TRUE(page.ListsADraw());
}

// A clock whose first reading is in time and every later one late: the look
// before the scan passes, the looks inside it do not.
int clockReadings = 0;
UpdateDeadline::Clock::time_point LateAfterTheFirstReading() {
  return UpdateDeadline::Clock::time_point{} + std::chrono::seconds(++clockReadings == 1 ? 0 : 60);
}

TEST(PageDrawsTest, ADeadlinePassingDuringTheScanOfALargePageStopsIt) {
  const UpdateDeadline deadline{UpdateDeadline::Clock::time_point{} + std::chrono::seconds(30), 30,
                                &LateAfterTheFirstReading};
  // Over 1 MiB of characters, the draw at the start: the scan runs backwards
  // and looks at the clock again before it reaches the draw.
  const std::string text =
      DrawText(14011601, NumbersOf(14011601), " ") + std::string((3u << 20) / 2, 'x');
  clockReadings = 0;
  EXPECT_THROW(PageDraws(text, {14011601}, deadline), InputError);
  EXPECT_GE(clockReadings, 2);
}

double PeakRssMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return double(usage.ru_maxrss) / 1024;
}

// Reads a 16 MB page and exits with 0 when the draw was read and the peak
// memory grew by at most five times the page.
void ReadALargePageAndExit() {
  const std::string row = "<tr><td>2014-01-16</td><td>" +
                          DrawText(14011601, NumbersOf(14011601), "&nbsp;") + "</td></tr>\n";
  std::string html;
  html.reserve((16u << 20) + row.size() + 64);
  html = "<!DOCTYPE html><html><body><table>";
  while (html.size() < (16u << 20)) html += row;
  html += "</table></body></html>";
  UpdatePlan plan;
  plan.rule = IssueRule{84, false};
  plan.firstIssue = 14011601;
  plan.lastIssue = 14011684;
  const double before = PeakRssMegabytes();
  const PageReadout readout = ReadResultsPage(plan, html, UpdateDeadline::FromNow(600));
  const double pageMegabytes = double(html.size()) / (1 << 20);
  const double added = PeakRssMegabytes() - before;
  std::fprintf(stderr, "%.0f MB page read in %.0f MB\n", pageMegabytes, added);
  std::exit(readout.draws.size() == 1 && added <= 5 * pageMegabytes ? 0 : 1);
}

// In a process of its own, whose peak memory is the page's alone.
TEST(ResultsPageMemoryTest, APageIsReadInAtMostFiveTimesItsSize) {
  EXPECT_EXIT(ReadALargePageAndExit(), ::testing::ExitedWithCode(0), "");
}

TEST(PageDrawsTest, CutShortAtTheEndOfTheText) {
  const PageDraws page("1401160101 02 03 04 05 06 07 0", {14011601}, UpdateDeadline::FromNow(30));
  ASSERT_NE(page.Find(14011601), nullptr);
  EXPECT_FALSE(page.Find(14011601)->readable);
  EXPECT_FALSE(page.ListsADraw());
}

}  // namespace
}  // namespace zs
