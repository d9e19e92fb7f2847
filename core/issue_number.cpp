#include "core/issue_number.h"

#include <array>
#include <chrono>
#include <limits>

#include "core/edition.h"
#include "core/errors.h"
#include "core/settings.h"
#include "core/text.h"

namespace zs {
namespace {

constexpr size_t kTwoDigitWidth = 8;    // yymmddNN
constexpr size_t kThreeDigitWidth = 9;  // yymmddNNN
constexpr size_t kShownTwoDigitWidth = 10;
constexpr size_t kShownThreeDigitWidth = 11;
constexpr size_t kRangeBoxDigits = 9;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool AllDigits(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (!IsDigit(c)) return false;
  }
  return true;
}

// The value of `count` digits at `pos`; 0 when they are not all there or not
// all digits.
int NumberAt(std::string_view text, size_t pos, size_t count) {
  if (pos + count > text.size()) return 0;
  int value = 0;
  for (char c : text.substr(pos, count)) {
    if (!IsDigit(c)) return 0;
    value = value * 10 + (c - '0');
  }
  return value;
}

std::chrono::year_month_day ToChrono(const Date& date) {
  return std::chrono::year_month_day(std::chrono::year(date.year),
                                     std::chrono::month(static_cast<unsigned>(date.month)),
                                     std::chrono::day(static_cast<unsigned>(date.day)));
}

Date FromChrono(const std::chrono::year_month_day& date) {
  return Date{int(date.year()), int(unsigned(date.month())), int(unsigned(date.day()))};
}

// Whether zero-padded digits read as yymmdd plus a daily sequence of at least 1.
bool FormsIssue(std::string_view digits) {
  const Date date{2000 + NumberAt(digits, 0, 2), NumberAt(digits, 2, 2), NumberAt(digits, 4, 2)};
  return IsValidDate(date) && NumberAt(digits, 6, digits.size() - 6) >= 1;
}

std::string ZeroPadded(const std::string& digits, size_t width) {
  return digits.size() >= width ? digits : std::string(width - digits.size(), '0') + digits;
}

// Precondition for the multiplications that follow: a year of 2000..2099.
int32_t Yymmdd(const Date& date) {
  if (std::optional<std::string> refusal = IssueYearRefusal(date)) throw InputError(*refusal);
  return (date.year - 2000) * 10000 + date.month * 100 + date.day;
}

int32_t Incremented(int32_t stored) {
  return stored < std::numeric_limits<int32_t>::max() ? stored + 1 : stored;
}

}  // namespace

IssueRule IssueRule::From(const Settings& settings) {
  return IssueRule{DrawsPerDay(settings.edition), UsesThreeDigitSequence(settings.edition)};
}

bool IsValidDate(const Date& date) {
  if (date.month < 1 || date.month > 12 || date.day < 1 || date.day > 31) return false;
  return ToChrono(date).ok();
}

std::optional<std::string> IssueYearRefusal(const Date& date) {
  if (date.year >= kFirstIssueYear && date.year <= kLastIssueYear) return std::nullopt;
  return "日期 " + std::to_string(date.year) + "-" + TwoDigits(date.month) + "-" +
         TwoDigits(date.day) + " 不在 2000 至 2099 年之间：期号只有两位年份，无法为这一天编号";
}

std::optional<std::string> ShownIssueRefusal(std::string_view text) {
  const std::string_view trimmed = TrimBlanks(text);
  if (!AllDigits(trimmed) || trimmed.size() <= kRangeBoxDigits) return std::nullopt;
  if ((trimmed.size() == kShownTwoDigitWidth || trimmed.size() == kShownThreeDigitWidth) &&
      trimmed.starts_with("20")) {
    return std::nullopt;
  }
  return "期号“" + std::string(trimmed) + "”不是 2000 至 2099 年的期号（应为“20”加 8 或 9 位数字）";
}

Date AddDays(const Date& date, int days) {
  return FromChrono(std::chrono::sys_days(ToChrono(date)) + std::chrono::days(days));
}

int64_t DaysBetween(const Date& from, const Date& to) {
  return (std::chrono::sys_days(ToChrono(to)) - std::chrono::sys_days(ToChrono(from))).count();
}

std::string StoredDigits(int32_t stored, bool threeDigit) {
  const std::string digits = std::to_string(stored);
  const size_t width = threeDigit ? kThreeDigitWidth : kTwoDigitWidth;
  if (stored < 0 || digits.size() > width) return digits;
  const std::string padded = ZeroPadded(digits, width);
  if (FormsIssue(padded)) return padded;
  // An issue stored under the other rule keeps its own width, so its date
  // stays readable after the edition changes.
  const size_t otherWidth = threeDigit ? kTwoDigitWidth : kThreeDigitWidth;
  if (digits.size() <= otherWidth) {
    const std::string other = ZeroPadded(digits, otherWidth);
    if (FormsIssue(other)) return other;
  }
  return padded;
}

std::string ShownIssue(int32_t stored, bool threeDigit) {
  return "20" + StoredDigits(stored, threeDigit);
}

std::optional<Date> IssueDate(int32_t stored, bool threeDigit) {
  const std::string digits = StoredDigits(stored, threeDigit);
  const Date date{2000 + NumberAt(digits, 0, 2), NumberAt(digits, 2, 2), NumberAt(digits, 4, 2)};
  if (stored <= 0 || !IsValidDate(date)) return std::nullopt;
  return date;
}

int32_t FirstIssueOfDay(const Date& date, const IssueRule& rule) {
  return Yymmdd(date) * rule.SequenceBase() + 1;
}

int32_t LastIssueOfDay(const Date& date, const IssueRule& rule) {
  return Yymmdd(date) * rule.SequenceBase() + rule.drawsPerDay;
}

int32_t FollowingIssue(int32_t stored, const IssueRule& rule) {
  if (stored % 100 == rule.drawsPerDay) {
    if (const std::optional<Date> date = IssueDate(stored, rule.threeDigit)) {
      const Date next = AddDays(*date, 1);
      if (!IssueYearRefusal(next)) return FirstIssueOfDay(next, rule);
    }
  }
  return Incremented(stored);
}

// The sequence width is taken from the chosen issue's own length (10 or 11
// characters), not from the rule: after a change of edition the boxes still
// show issues of the other form, and cutting them at the rule's width would
// yield a number that is no issue at all.
std::optional<int32_t> RangeEndBefore(std::string_view chosenShown, const IssueRule& rule) {
  const std::string_view text = TrimBlanks(chosenShown);
  if (!AllDigits(text) || text.size() < kShownTwoDigitWidth ||
      text.size() > kShownThreeDigitWidth || ShownIssueRefusal(text)) {
    return std::nullopt;
  }
  const bool threeDigit = text.size() == kShownThreeDigitWidth;
  const size_t storedWidth = threeDigit ? kThreeDigitWidth : kTwoDigitWidth;
  const std::string_view stored = text.substr(text.size() - storedWidth);
  const std::string_view firstOfDay = threeDigit ? "001" : "01";
  if (text.ends_with(firstOfDay)) {
    const Date date{NumberAt(text, 0, 4), NumberAt(text, 4, 2), NumberAt(text, 6, 2)};
    if (!IsValidDate(date)) return std::nullopt;
    const Date previous = AddDays(date, -1);
    if (IssueYearRefusal(previous)) return std::nullopt;
    return LastIssueOfDay(previous, IssueRule{rule.drawsPerDay, threeDigit});
  }
  const int32_t end = NumberAt(stored, 0, storedWidth) - 1;
  if (end < 1) return std::nullopt;
  return end;
}

std::optional<int32_t> RangeBoxIssue(std::string_view boxText) {
  std::string_view text = TrimBlanks(boxText);
  if (text.size() > kRangeBoxDigits) text = text.substr(text.size() - kRangeBoxDigits);
  if (!AllDigits(text)) return std::nullopt;
  return NumberAt(text, 0, text.size());
}

int SpringFestival(int year) {
  constexpr int kFirstYear = 2001;
  static constexpr std::array<int, 50> kDates = {
      124, 212, 201, 122, 209, 129, 218, 207, 126, 214,  // 2001..2010
      203, 123, 201, 131, 218, 208, 128, 216, 205, 125,  // 2011..2020
      212, 201, 122, 210, 129, 217, 206, 126, 213, 203,  // 2021..2030
      123, 211, 131, 219, 208, 128, 215, 204, 124, 212,  // 2031..2040
      201, 122, 210, 130, 217, 206, 126, 214, 202, 123,  // 2041..2050
  };
  if (year < kFirstYear || year >= kFirstYear + static_cast<int>(kDates.size())) return 0;
  return kDates[year - kFirstYear];
}

int ZodiacYear(int32_t stored, bool threeDigit) {
  const std::string digits = StoredDigits(stored, threeDigit);
  const int year = 2000 + NumberAt(digits, 0, 2);
  const int monthDay = NumberAt(digits, 2, 4);
  return SpringFestival(year) >= monthDay ? year - 1 : year;
}

}  // namespace zs
