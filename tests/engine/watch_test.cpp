// Watches: their figures against the searches and the group calculation over
// the whole history, the held and fired states, and the book advanced draw by
// draw against the book worked out anew, on random histories with every
// kind and condition; the conditions as typed; the watch table.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "analysis/group_calculation.h"
#include "analysis/partial_search.h"
#include "analysis/position_search.h"
#include "analysis/watch_book.h"
#include "core/errors.h"
#include "core/issue_number.h"
#include "core/text.h"
#include "store/watch_table.h"
#include "tests/support/analysis_histories.h"
#include "tests/support/derivation_rules.h"
#include "tests/support/temp_folder.h"

namespace zs {
namespace {

using Kind = WatchCondition::Kind;

std::vector<int64_t> NumbersOf(const std::vector<WatchEntry>& entries) {
  std::vector<int64_t> numbers;
  for (const WatchEntry& entry : entries) numbers.push_back(entry.watch.number);
  return numbers;
}

// What a watch's figures must be, from the command that shows them.
struct Expected {
  int64_t hits = 0;
  OmissionFigures omissions;
};

class WatchDifferentialTest : public ::testing::TestWithParam<uint64_t> {
 protected:
  void SetUp() override {
    random_.seed(GetParam());
    bases_ = {Pick(0, 1), Pick(0, 1)};
    rules_ = testing::Rules(bases_.zodiacBase, bases_.segmentBase);
    draws_ = testing::RandomDraws(GetParam(), 160 + Pick(0, 80), 0.2);
    rows_ = testing::DeriveRows(draws_, rules_);
    for (int i = 0; i < 36; ++i) watches_.push_back(RandomWatch(i));
  }

  int Pick(int from, int to) { return from + static_cast<int>(random_() % (to - from + 1)); }

  // Values mostly in the type's range, so that patterns hit now and then.
  int Value(SearchType type) {
    static constexpr int kHighest[kSearchTypeCount] = {20, 12, 2, 9, 11, 5};
    return Pick(0, kHighest[static_cast<int>(type)]);
  }

  Watch RandomWatch(int i) {
    Watch watch;
    watch.number = i + 1;
    watch.kind = static_cast<WatchKind>(i % 3);
    watch.type = static_cast<SearchType>(Pick(0, kSearchTypeCount - 1));
    watch.freePositions = Pick(0, 1) == 1;
    for (int p = 0; p < kPositions; ++p) watch.values[p] = Value(watch.type);
    for (bool& chosen : watch.chosen) chosen = Pick(0, 4) == 0;
    watch.partSize = Pick(0, 4);
    for (int box = 1; box <= BoxCount(watch.type); ++box) {
      if (Pick(0, BoxCount(watch.type) / 2) == 0 && watch.boxes.size() < 3) {
        watch.boxes.push_back(box);
      }
    }
    if (watch.boxes.empty()) watch.boxes.push_back(Pick(1, BoxCount(watch.type)));
    // Every condition with every kind, thresholds around the usual gaps.
    watch.condition.kind = static_cast<Kind>((i / 3) % 3);
    watch.condition.lastAtLeast = Pick(1, 25);
    static constexpr int64_t kRatios[] = {5000, 10000, 12500, 15000, 20000, 30000};
    watch.condition.ratioAtLeast = kRatios[Pick(0, 5)];
    return watch;
  }

  // The figures as `search`, `partial` and `group` show them over first to
  // newest draw; the hit count from the hit list, or for a combination by
  // looking at every draw.
  Expected ExpectedOf(const HistoryIndex& index, const Watch& watch) {
    Expected expected;
    const std::string first = index.DrawCount() ? ShownIssue(index.Issue(0), false) : "0";
    const std::string newest =
        index.DrawCount() ? ShownIssue(index.Issue(index.DrawCount() - 1), false) : "0";
    SearchPattern pattern;
    pattern.type = watch.type;
    pattern.freePositions = watch.freePositions;
    pattern.values = watch.values;
    SearchResult result;
    if (watch.kind == WatchKind::kSearch) {
      result = RunPositionSearch(index, {{pattern, first, newest, {}}, watch.chosen});
    } else if (watch.kind == WatchKind::kPartial) {
      result = RunPartialSearch(index, {{pattern, first, newest, {}}, watch.partSize, ""});
    } else {
      GroupRequest request{watch.type, watch.boxes, static_cast<int>(watch.boxes.size()),
                           bases_,     first,       newest};
      const std::vector<OmissionRecord> rows = ComputeGroupRows(index, request);
      EXPECT_EQ(rows.size(), 1u);
      expected.omissions = {rows[0].smallest, rows[0].largest, rows[0].last};
      for (size_t d = 0; d < index.DrawCount(); ++d) {
        bool all = true;
        for (int box : watch.boxes) {
          bool carried = false;
          for (int p = 0; p < kPositions; ++p) {
            carried |= index.Field(d, watch.type, p) == BoxValue(watch.type, box, bases_);
          }
          all &= carried;
        }
        expected.hits += all ? 1 : 0;
      }
      return expected;
    }
    expected.hits = static_cast<int64_t>(result.hits->hits.size());
    expected.omissions = result.hits->figures;
    return expected;
  }

  // The figures and the held state of every watch against the commands'.
  void ExpectFiguresOf(const HistoryIndex& index, const WatchBook& book) {
    ASSERT_EQ(book.entries().size(), watches_.size());
    for (const WatchEntry& entry : book.entries()) {
      SCOPED_TRACE(WatchContent(entry.watch, bases_) + " " +
                   WatchConditionText(entry.watch.condition));
      const Expected expected = ExpectedOf(index, entry.watch);
      const WatchFigures& figures = entry.figures;
      ASSERT_EQ(figures.HitCount(), expected.hits);
      ASSERT_EQ(figures.Omissions().largest, expected.omissions.largest);
      ASSERT_EQ(figures.Omissions().last, expected.omissions.last);
      // The omissions of the hits add up to the idx of the last hit.
      const int64_t sum = static_cast<int64_t>(index.DrawCount()) + 1 - expected.omissions.last;
      const double mean = static_cast<double>(sum) / static_cast<double>(expected.hits);
      ASSERT_EQ(figures.AverageText(), expected.hits ? TwoDecimals(mean) : "");
      ASSERT_EQ(figures.ChanceText(),
                expected.hits ? TwoDecimals(expected.omissions.last / mean) : "");
      const WatchCondition& condition = entry.watch.condition;
      bool holds = expected.omissions.last >= condition.lastAtLeast;
      if (condition.kind == Kind::kRatioAtLeast) {
        holds = expected.hits > 0 && expected.omissions.last * static_cast<double>(expected.hits) >=
                                         static_cast<double>(condition.ratioAtLeast) /
                                             WatchCondition::kRatioScale * static_cast<double>(sum);
      } else if (condition.kind == Kind::kRecord) {
        holds = expected.hits > 0 && expected.omissions.last > expected.omissions.largest;
      }
      ASSERT_EQ(entry.holds, holds);
    }
  }

  std::mt19937_64 random_;
  PanelBases bases_;
  DerivationRules rules_;
  std::vector<Draw> draws_;
  std::vector<HistoryRow> rows_;
  std::vector<Watch> watches_;
};

TEST_P(WatchDifferentialTest, FiguresAreThoseOfTheCommandsOverTheWholeHistory) {
  const HistoryIndex index(rows_);
  ExpectFiguresOf(index, WatchBook(watches_, index, bases_));
  // The commands refuse an empty history; its watches have no hits and no
  // figures, and only a last>=N condition can hold.
  const HistoryIndex empty;
  const WatchBook book(watches_, empty, bases_);
  for (const WatchEntry& entry : book.entries()) {
    EXPECT_EQ(entry.figures.HitCount(), 0);
    EXPECT_EQ(entry.figures.AverageText(), "");
    EXPECT_EQ(entry.figures.ChanceText(), "");
    if (entry.watch.condition.kind != Kind::kLastAtLeast) {
      EXPECT_FALSE(entry.holds);
    }
  }
}

TEST_P(WatchDifferentialTest, AdvancingDrawByDrawKeepsTheFiguresAndFiresOnTheChange) {
  const size_t start = rows_.size() / 2;
  HistoryIndex index(std::vector<HistoryRow>(rows_.begin(), rows_.begin() + start));
  WatchBook book(watches_, index, bases_);
  int fired = 0;
  for (size_t next = start; next < rows_.size(); ++next) {
    const HistoryIndex before = index;
    index.Append(rows_[next]);
    const WatchBook advanced = book.Followed(before, index, bases_);
    const WatchBook anew(watches_, index, bases_);
    testing::ExpectSameBook(advanced, anew);
    std::vector<int64_t> expected;
    for (size_t i = 0; i < watches_.size(); ++i) {
      if (anew.entries()[i].holds && !book.entries()[i].holds) expected.push_back(i + 1);
    }
    ASSERT_EQ(NumbersOf(FiredBetween(book, advanced)), expected);
    fired += static_cast<int>(expected.size());
    book = advanced;
  }
  ExpectFiguresOf(index, book);
  EXPECT_GT(fired, 0) << "the histories should make some watch fire";

  // Several draws at once, a removed draw, new bases: each as one change.
  const WatchBook full(watches_, index, bases_);
  const HistoryIndex half(std::vector<HistoryRow>(rows_.begin(), rows_.begin() + start));
  testing::ExpectSameBook(WatchBook(watches_, half, bases_).Followed(half, index, bases_), full);
  HistoryIndex shorter = index;
  shorter.RemoveLast();
  testing::ExpectSameBook(full.Followed(index, shorter, bases_),
                          WatchBook(watches_, shorter, bases_));
  const PanelBases other{1 - bases_.zodiacBase, 1 - bases_.segmentBase};
  testing::ExpectSameBook(full.Followed(index, index, other), WatchBook(watches_, index, other));

  // A watch removed, one changed and one added keep the others' figures.
  std::vector<Watch> changed(watches_.begin() + 1, watches_.end());
  changed.front().values[0] += 1;
  changed.front().boxes.front() = changed.front().boxes.front() % 7 + 1;
  changed.push_back(watches_.front());
  changed.back().number = 99;
  changed.back().kind = WatchKind::kCombination;
  testing::ExpectSameBook(full.Rewatched(changed, index), WatchBook(changed, index, bases_));
}

INSTANTIATE_TEST_SUITE_P(Seeds, WatchDifferentialTest, ::testing::Range<uint64_t>(1, 7));

TEST(WatchTest, FiredNeedsTheWatchInBothStatesNotHoldingBefore) {
  Watch watch;
  watch.number = 4;
  watch.condition = *ParseWatchCondition("last>=2");
  const HistoryIndex empty;
  const HistoryIndex one(testing::DeriveRows(testing::RandomDraws(3, 1, 0), testing::Rules()));
  watch.chosen[0] = true;
  watch.values[0] = 0;  // no number 0 is drawn: last goes 1, 2
  const WatchBook before({watch}, empty, {});
  const WatchBook after = before.Advanced(one);
  EXPECT_FALSE(before.entries()[0].holds);
  EXPECT_THAT(NumbersOf(FiredBetween(before, after)), ::testing::ElementsAre(4));
  EXPECT_TRUE(FiredBetween(after, after).empty());
  EXPECT_TRUE(FiredBetween(WatchBook({}, empty, {}), after).empty());
}

TEST(WatchTest, ConditionsAsTyped) {
  const struct {
    const char* text;
    const char* readBack;  // nullptr: refused
  } kCases[] = {
      {"last>=0", "last>=0"},        {"last>=12", "last>=12"},
      {" record ", "record"},        {"ratio>=1.5", "ratio>=1.5"},
      {"ratio>=2.50", "ratio>=2.5"}, {"ratio>=0.0001", "ratio>=0.0001"},
      {"ratio>=3", "ratio>=3"},      {"ratio>=100000", "ratio>=100000"},
      {"last>=-1", nullptr},         {"last>=", nullptr},
      {"last>=+3", nullptr},         {"last>=1.5", nullptr},
      {"last>5", nullptr},           {"ratio>=1.", nullptr},
      {"ratio>=.5", nullptr},        {"ratio>=1.23456", nullptr},
      {"ratio>=100000.1", nullptr},  {"ratio>=-1", nullptr},
      {"Record", nullptr},           {"", nullptr},
  };
  for (const auto& c : kCases) {
    const std::optional<WatchCondition> condition = ParseWatchCondition(c.text);
    ASSERT_EQ(condition.has_value(), c.readBack != nullptr) << c.text;
    if (condition) {
      EXPECT_EQ(WatchConditionText(*condition), c.readBack);
    }
  }
  EXPECT_EQ(ParseWatchCondition("ratio>=1.25")->ratioAtLeast, 12500);
}

TEST(WatchTest, RatioComparesTheUnroundedChance) {
  // Hits at idx 2 and 5 of 7 draws: mean 2.5, last 3, chance 1.2.
  Watch watch;
  watch.kind = WatchKind::kCombination;
  watch.boxes = {20};
  std::vector<Draw> draws = testing::RandomDraws(5, 7, 0);
  for (Draw& draw : draws) {
    for (int& number : draw.numbers) number = number == 20 ? 19 : number;
  }
  for (int hit : {1, 4}) draws[hit].numbers[0] = 20;
  const HistoryIndex index(testing::DeriveRows(draws, testing::Rules()));
  for (const auto& [text, holds] : std::vector<std::pair<const char*, bool>>{
           {"ratio>=1.2", true}, {"ratio>=1.2001", false}, {"last>=3", true}, {"last>=4", false}}) {
    watch.condition = *ParseWatchCondition(text);
    EXPECT_EQ(WatchBook({watch}, index, {}).entries()[0].holds, holds) << text;
  }
  EXPECT_EQ(ComputeWatch(index, watch, {}).ChanceText(), "1.20");
}

TEST(WatchTest, ContentAndCombinationItems) {
  Watch search;
  search.chosen[0] = search.chosen[1] = true;
  search.values = {3, 7};
  EXPECT_EQ(WatchContent(search, {}), "号码 自由位 第1位03 第2位07");
  Watch partial = search;
  partial.kind = WatchKind::kPartial;
  partial.type = SearchType::kUnits;
  partial.freePositions = false;
  EXPECT_EQ(WatchContent(partial, {}),
            "尾数 固定位 分部位数2 第1位03 第2位07 第3位00 第4位00 第5位00 第6位00 第7位00 "
            "第8位00");
  Watch combination;
  combination.kind = WatchKind::kCombination;
  combination.type = SearchType::kZodiac;
  combination.boxes = CombinationBoxes(SearchType::kZodiac, {"牛", "鼠"}, {});
  EXPECT_THAT(combination.boxes, ::testing::ElementsAre(1, 2));
  EXPECT_EQ(WatchContent(combination, {}), "生肖 组合 鼠 牛");
  EXPECT_THAT(CombinationBoxes(SearchType::kUnits, {"9", "0"}, {}), ::testing::ElementsAre(1, 10));
  for (const std::vector<std::string>& items :
       {std::vector<std::string>{"03", "7"}, {"03", "03"}, {"21"}}) {
    try {
      CombinationBoxes(SearchType::kNumber, items, {});
      ADD_FAILURE() << items.back() << " taken";
    } catch (const InputError& error) {
      EXPECT_THAT(error.what(), ::testing::HasSubstr("\"" + items.back() + "\""));
    }
  }
}

TEST(WatchTest, TableKeepsWatchesThroughHistoryChangesAndNeverReusesANumber) {
  testing::TempFolder folder;
  std::vector<Watch> watches(3);
  watches[0].name = "三七";
  watches[0].chosen[2] = true;
  watches[0].values[2] = -5;
  watches[0].condition = *ParseWatchCondition("ratio>=1.75");
  watches[1].kind = WatchKind::kPartial;
  watches[1].type = SearchType::kSegment;
  watches[1].freePositions = false;
  watches[1].values = {1, 2, 3, 4, 5, 6, 7, 8};
  watches[1].partSize = 3;
  watches[1].condition = *ParseWatchCondition("record");
  watches[2].kind = WatchKind::kCombination;
  watches[2].boxes = {2, 9, 20};
  watches[2].condition = *ParseWatchCondition("last>=40");
  {
    auto store = HistoryStore::OpenFolder(folder.path());
    EXPECT_TRUE(LoadWatches(*store).empty());
    EXPECT_FALSE(RemoveWatch(*store, 1));
    for (size_t i = 0; i < watches.size(); ++i) {
      watches[i].number = AddWatch(*store, watches[i]);
      EXPECT_EQ(watches[i].number, static_cast<int64_t>(i + 1));
    }
    store->ReplaceAllDraws(testing::RandomDraws(1, 20, 0), testing::Rules());
    store->Clear();
    EXPECT_TRUE(RemoveWatch(*store, 3));
    EXPECT_FALSE(RemoveWatch(*store, 3));
  }
  auto reopened = HistoryStore::OpenFolder(folder.path());
  EXPECT_EQ(LoadWatches(*reopened), std::vector<Watch>(watches.begin(), watches.begin() + 2));
  EXPECT_EQ(AddWatch(*reopened, watches[2]), 4);
}

}  // namespace
}  // namespace zs
