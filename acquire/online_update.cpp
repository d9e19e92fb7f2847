#include "acquire/online_update.h"

#include <algorithm>
#include <limits>

#include "acquire/page_text.h"
#include "core/derivation.h"
#include "core/edition.h"
#include "core/errors.h"
#include "core/history_text.h"

namespace zs {
namespace {

constexpr int kIssueDigits = 8;
// Number k (0-based) starts kFirstNumberOffset + kNumberSpacing × k characters
// after the issue's first digit.
constexpr int kFirstNumberOffset = 8;
constexpr int kNumberSpacing = 3;
constexpr int kDrawWidth = kFirstNumberOffset + kNumberSpacing * (kPositions - 1) + 2;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
}

struct DayAndSequence {
  Date day;
  int sequence = 1;
};

// The first valid issue at or after `issue`, as its day and sequence. An
// issue past its day's draws (a sequence above the draws per day, or 00
// after a carry) or on no real date moves on to the next real day.
DayAndSequence FirstValidFrom(int32_t issue, const IssueRule& rule) {
  const int yymmdd = issue / 100;
  const int year = 2000 + yymmdd / 10000;
  const int month = yymmdd / 100 % 100;
  const int day = yymmdd % 100;
  const int sequence = issue % 100;
  if (month == 0) return {Date{year, 1, 1}};
  if (month > 12) return {Date{year + 1, 1, 1}};
  if (day == 0) return {Date{year, month, 1}};
  const Date date{year, month, day};
  if (!IsValidDate(date)) return {month == 12 ? Date{year + 1, 1, 1} : Date{year, month + 1, 1}};
  if (sequence > rule.drawsPerDay) return {AddDays(date, 1)};
  return {date, std::max(sequence, 1)};
}

// Past the issues of 2099 there is nothing to look up: the greatest issue
// then stands for "after every issue".
int32_t FirstValidIssueFrom(int32_t issue, const IssueRule& rule) {
  const DayAndSequence start = FirstValidFrom(issue, rule);
  if (start.day.year > kLastIssueYear) return std::numeric_limits<int32_t>::max();
  if (start.day.year < kFirstIssueYear) return FirstIssueOfDay({kFirstIssueYear, 1, 1}, rule);
  return FirstIssueOfDay(start.day, rule) - 1 + start.sequence;
}

// How many characters the page walk reads between two looks at the clock.
constexpr size_t kCharactersPerDeadlineCheck = size_t(1) << 20;

// A character a byte: each character of UTF-8 text as itself when it is
// ASCII, else as a byte that is no digit. Offsets into it count the text's
// characters, at a quarter of the memory of the decoded text.
std::string CharacterDigits(std::string_view utf8) {
  if (utf8.starts_with("\xEF\xBB\xBF")) utf8.remove_prefix(3);
  std::string characters;
  characters.reserve(utf8.size());
  for (const char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      characters += c;
    } else if ((byte & 0xC0) != 0x80) {  // the lead byte of a longer character
      characters += '\x80';
    }
  }
  return characters;
}

}  // namespace

std::string ResultsAddress(std::string_view urlTemplate, std::string_view code, int drawCount) {
  std::string address(urlTemplate);
  ReplaceAll(address, "{code}", code);
  ReplaceAll(address, "{n}", std::to_string(drawCount));
  return address;
}

std::vector<int32_t> CandidateIssues(int32_t first, int32_t last, const IssueRule& rule) {
  std::vector<int32_t> issues;
  if (first > last) return issues;
  const DayAndSequence start = FirstValidFrom(first, rule);
  int sequence = start.sequence;
  // Stored issues carry a two-digit year: beyond 2099 they would start again.
  for (Date day = start.day; day.year <= 2099; day = AddDays(day, 1), sequence = 1) {
    const int32_t dayBase = FirstIssueOfDay(day, rule) - 1;
    if (dayBase + sequence > last) break;
    for (; sequence <= rule.drawsPerDay && dayBase + sequence <= last; ++sequence) {
      issues.push_back(dayBase + sequence);
    }
  }
  return issues;
}

UpdatePlan PlanUpdate(HistoryStore& store, const Settings& settings, const Date& today) {
  if (!settings.edition.index()) throw InputError(kNoEditionMessage);
  if (std::optional<std::string> refusal = IssueYearRefusal(today)) {
    throw InputError("今天的" + *refusal + "；历史号码未改变");
  }
  UpdatePlan plan;
  plan.rule = IssueRule::From(settings);
  plan.address = ResultsAddress(settings.resultsUrl, EditionCode(settings.edition),
                                (settings.keptDays + 1) * plan.rule.drawsPerDay);

  if (const std::optional<HistoryRow> first = store.First()) {
    const std::optional<Date> firstDate = IssueDate(first->issue, plan.rule.threeDigit);
    plan.dropHistory = firstDate && DaysBetween(*firstDate, today) > settings.keptDays;
  }
  const std::optional<HistoryRow> last = plan.dropHistory ? std::nullopt : store.Last();
  const int32_t firstWanted = last ? last->issue + 1
                                   : FirstIssueOfDay(std::max(AddDays(today, -settings.keptDays),
                                                              Date{kFirstIssueYear, 1, 1}),
                                                     plan.rule);
  plan.firstIssue = FirstValidIssueFrom(firstWanted, plan.rule);
  plan.lastIssue = LastIssueOfDay(today, plan.rule);
  return plan;
}

UpdateDeadline UpdateDeadline::FromNow(int seconds) {
  return UpdateDeadline{std::chrono::steady_clock::now() + std::chrono::seconds(seconds), seconds};
}

void UpdateDeadline::Check() const {
  if (now() > at) {
    throw InputError("在线更新超过时限（" + std::to_string(seconds) +
                     " 秒，设置项 FetchTimeout）仍未读完结果页，已放弃；历史号码未改变");
  }
}

PageDraws::PageDraws(std::string_view pageText, const std::vector<int32_t>& wanted,
                     const UpdateDeadline& deadline) {
  entries_.reserve(wanted.size());
  for (int32_t issue : wanted) entries_.emplace(issue, Entry{});
  // Most digit windows of a page lie outside the issues looked up; a range
  // check spares them the hash lookup.
  const auto [lowest, highest] = std::minmax_element(wanted.begin(), wanted.end());
  const int32_t low = wanted.empty() ? 1 : *lowest;
  const int32_t high = wanted.empty() ? 0 : *highest;
  const std::string text = CharacterDigits(pageText);
  deadline.Check();
  const size_t size = text.size();
  size_t digitsAhead = 0;  // length of the digit run starting at the current position
  // Walk backwards so that the length of the digit run ahead is known at
  // every position; earlier appearances then overwrite later ones.
  for (size_t p = size; p-- > 0;) {
    if (p % kCharactersPerDeadlineCheck == 0) deadline.Check();
    digitsAhead = IsDigit(text[p]) ? digitsAhead + 1 : 0;
    if (digitsAhead < kIssueDigits) continue;

    int32_t issue = 0;
    for (int i = 0; i < kIssueDigits; ++i) issue = issue * 10 + int32_t(text[p + i] - '0');
    const bool maybeWanted = issue >= low && issue <= high;
    if (!maybeWanted && listsADraw_) continue;

    Entry entry;
    entry.found = true;
    entry.readable = p + kDrawWidth <= size;
    for (int k = 0; entry.readable && k < kPositions; ++k) {
      const size_t at = p + kFirstNumberOffset + size_t(kNumberSpacing * k);
      const int number = IsDigit(text[at]) && IsDigit(text[at + 1])
                             ? int(text[at] - '0') * 10 + int(text[at + 1] - '0')
                             : 0;
      entry.readable = number >= kMinNumber && number <= kMaxNumber;
      entry.numbers[size_t(k)] = number;
    }
    listsADraw_ = listsADraw_ || entry.readable;
    if (!maybeWanted) continue;
    const auto slot = entries_.find(issue);
    if (slot != entries_.end() && (entry.readable || !slot->second.readable)) slot->second = entry;
  }
}

const PageDraws::Entry* PageDraws::Find(int32_t issue) const {
  const auto found = entries_.find(issue);
  return found == entries_.end() || !found->second.found ? nullptr : &found->second;
}

PageReadout ReadResultsPage(const UpdatePlan& plan, std::string_view pageBytes,
                            const UpdateDeadline& deadline) {
  const std::vector<int32_t> wanted = CandidateIssues(plan.firstIssue, plan.lastIssue, plan.rule);
  std::string text;
  {
    const std::string html = TextAsUtf8(pageBytes);
    deadline.Check();
    text = PageText(html);
  }
  deadline.Check();
  const PageDraws page(text, wanted, deadline);
  if (!page.ListsADraw()) {
    throw InputError("结果页中没有找到开奖号码，历史号码未改变: " + plan.address);
  }
  PageReadout readout;
  for (int32_t issue : wanted) {
    const PageDraws::Entry* entry = page.Find(issue);
    if (entry == nullptr) continue;
    if (!entry->readable) {
      ++readout.unreadable;
      continue;
    }
    readout.draws.push_back(Draw{issue, entry->numbers});
  }
  return readout;
}

UpdateReport StoreResultsPage(HistoryStore& store, const UpdatePlan& plan, const Settings& settings,
                              const Date& today, const PageReadout& readout) {
  HistoryStore::Change change(store);
  const UpdatePlan now = PlanUpdate(store, settings, today);
  if (now.firstIssue != plan.firstIssue || now.lastIssue != plan.lastIssue ||
      now.dropHistory != plan.dropHistory) {
    throw StoreError(
        "历史号码在更新期间已被另一个程序修改，本次更新未保存；历史号码保持原样，请重新更新");
  }
  UpdateReport report;
  report.firstIssue = plan.firstIssue;
  report.lastIssue = plan.lastIssue;
  report.address = plan.address;
  report.unreadable = readout.unreadable;
  report.dropped = plan.dropHistory ? store.Count() : 0;
  store.AppendDraws(readout.draws, DerivationRules::From(settings), plan.dropHistory);
  report.added = int64_t(readout.draws.size());
  change.Commit();
  return report;
}

}  // namespace zs
