// Issue numbers: the stored form (yymmdd + daily sequence of two digits, or
// three when no edition is chosen), the shown form ("20" + stored digits),
// their calendar dates, the next issue with the day rollover, the range end
// before a chosen issue, range-box parsing and the zodiac year of an issue.
//
// Issues of 2000..2009 are stored as numbers without their leading zero
// (09123101 is 9123101); every function here reads a stored issue through
// StoredDigits(), which restores the zero.
#ifndef ZEPHYRSTAT_CORE_ISSUE_NUMBER_H_
#define ZEPHYRSTAT_CORE_ISSUE_NUMBER_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zs {

struct Settings;

struct IssueRule {
  int drawsPerDay = 84;
  bool threeDigit = true;  // daily sequence 001..; else 01..

  static IssueRule From(const Settings& settings);
  int SequenceBase() const { return threeDigit ? 1000 : 100; }
};

struct Date {
  int year = 0;
  int month = 0;
  int day = 0;
  friend auto operator<=>(const Date&, const Date&) = default;
};

bool IsValidDate(const Date& date);
Date AddDays(const Date& date, int days);
int64_t DaysBetween(const Date& from, const Date& to);  // to − from

// The digits of a stored issue, zero-padded to its form's width: 8 digits, or
// 9 under the three-digit rule. When the number only makes a calendar date in
// the other form, that form's width is used, so 9123101 reads 09123101.
std::string StoredDigits(int32_t stored, bool threeDigit);
// "20" + StoredDigits(): how every box and grid shows an issue.
std::string ShownIssue(int32_t stored, bool threeDigit);

// Date of a stored issue: year 2000 + digits 1–2, month 3–4, day 5–6.
std::optional<Date> IssueDate(int32_t stored, bool threeDigit);
// The stored issue of the first draw of a day: yymmdd × SequenceBase() + 1.
int32_t FirstIssueOfDay(const Date& date, const IssueRule& rule);
// yymmdd × SequenceBase() + rule.drawsPerDay.
int32_t LastIssueOfDay(const Date& date, const IssueRule& rule);

// The issue after a stored one (a new row's QQH, and the issue the entry box
// offers next): issue + 1, or the first draw of the next calendar day when
// the issue's last two digits equal the draws per day.
int32_t FollowingIssue(int32_t stored, const IssueRule& rule);

// The end of the search range just before a chosen issue typed in its shown
// form (the box "仅检索该期前"): the previous day's last draw when the chosen
// issue is the first of its day, else the chosen issue − 1. nullopt when the
// text holds no issue.
std::optional<int32_t> RangeEndBefore(std::string_view chosenShown, const IssueRule& rule);

// The stored issue that a range box names: its rightmost nine characters as
// a whole number (blanks around the text disregarded). nullopt when they are
// not a number, so an analysis can refuse before it touches anything.
std::optional<int32_t> RangeBoxIssue(std::string_view boxText);

// Spring Festival of a year as month × 100 + day; 0 for years outside the table.
int SpringFestival(int year);
// Zodiac year of a stored issue: its calendar year, less one on or before
// that year's Spring Festival.
int ZodiacYear(int32_t stored, bool threeDigit);

}  // namespace zs

#endif  // ZEPHYRSTAT_CORE_ISSUE_NUMBER_H_
