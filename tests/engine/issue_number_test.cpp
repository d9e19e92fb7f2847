#include "core/issue_number.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "core/errors.h"
#include "core/settings.h"

namespace zs {
namespace {

constexpr IssueRule kTwoDigit84{84, false};
constexpr IssueRule kThreeDigit84{84, true};

TEST(IssueRuleTest, FollowsTheEditionSetting) {
  struct Case {
    int storedEdition;
    int drawsPerDay;
    bool threeDigit;
  };
  for (const Case& c : {Case{0, 84, false}, Case{3, 97, false}, Case{4, 71, false},
                        Case{5, 86, false}, Case{6, 72, false}, Case{556, 84, true},
                        Case{568, 84, true}, Case{8, 84, false}, Case{-1, 84, false}}) {
    Settings settings;
    settings.edition = EditionChoice::FromStored(c.storedEdition);
    const IssueRule rule = IssueRule::From(settings);
    EXPECT_EQ(rule.drawsPerDay, c.drawsPerDay) << c.storedEdition;
    EXPECT_EQ(rule.threeDigit, c.threeDigit) << c.storedEdition;
    EXPECT_EQ(rule.SequenceBase(), c.threeDigit ? 1000 : 100) << c.storedEdition;
  }
}

TEST(DateTest, ValidityAndCalendarArithmetic) {
  EXPECT_TRUE(IsValidDate({2012, 2, 29}));
  EXPECT_FALSE(IsValidDate({2013, 2, 29}));
  EXPECT_FALSE(IsValidDate({2013, 13, 1}));
  EXPECT_FALSE(IsValidDate({2013, 4, 31}));
  EXPECT_FALSE(IsValidDate({2013, 0, 10}));
  EXPECT_EQ(AddDays({2013, 1, 31}, 1), (Date{2013, 2, 1}));
  EXPECT_EQ(AddDays({2014, 12, 31}, 1), (Date{2015, 1, 1}));
  EXPECT_EQ(AddDays({2012, 3, 1}, -1), (Date{2012, 2, 29}));
  EXPECT_EQ(DaysBetween({2013, 1, 1}, {2014, 1, 1}), 365);
  EXPECT_EQ(DaysBetween({2014, 1, 1}, {2013, 1, 1}), -365);
}

TEST(StoredDigitsTest, PadsToTheFormWidth) {
  struct Case {
    int32_t stored;
    bool threeDigit;
    std::string digits;
  };
  for (const Case& c : {
           Case{13051284, false, "13051284"},
           Case{9123101, false, "09123101"},   // 2009: stored without its leading zero
           Case{9123101, true, "09123101"},    // only the 8-digit form makes a date
           Case{91231001, true, "091231001"},  // 2009, three-digit sequence
           Case{91231001, false, "091231001"},
           Case{130512084, true, "130512084"},
           Case{130512084, false, "130512084"},  // longer than the form: as it is
           Case{13051284, true, "13051284"},     // two-digit issue under the three-digit rule
           Case{1010101, false, "01010101"},
           Case{5, false, "00000005"},  // no date in either width: the rule's width
           Case{5, true, "000000005"},
       }) {
    EXPECT_EQ(StoredDigits(c.stored, c.threeDigit), c.digits) << c.stored << " " << c.threeDigit;
  }
  EXPECT_EQ(ShownIssue(9123101, false), "2009123101");
  EXPECT_EQ(ShownIssue(130512084, true), "20130512084");
}

TEST(IssueDateTest, ReadsYymmddOfTheStoredDigits) {
  EXPECT_EQ(IssueDate(13051284, false), (Date{2013, 5, 12}));
  EXPECT_EQ(IssueDate(9123101, false), (Date{2009, 12, 31}));
  EXPECT_EQ(IssueDate(130512084, true), (Date{2013, 5, 12}));
  EXPECT_EQ(IssueDate(13051284, true), (Date{2013, 5, 12}));
  EXPECT_EQ(IssueDate(13023101, false), std::nullopt);  // 31 February
  EXPECT_EQ(IssueDate(0, false), std::nullopt);
  EXPECT_EQ(IssueDate(-13051284, false), std::nullopt);
  EXPECT_EQ(FirstIssueOfDay({2013, 5, 13}, kTwoDigit84), 13051301);
  EXPECT_EQ(FirstIssueOfDay({2009, 1, 2}, kThreeDigit84), 90102001);
  EXPECT_EQ(LastIssueOfDay({2013, 5, 12}, IssueRule{97, false}), 13051297);
}

TEST(FollowingIssueTest, RollsOverAtTheDrawsPerDay) {
  struct Case {
    int32_t stored;
    IssueRule rule;
    int32_t following;
  };
  for (const Case& c : {
           Case{13051284, kTwoDigit84, 13051301}, Case{13051283, kTwoDigit84, 13051284},
           Case{130512084, kThreeDigit84, 130513001}, Case{130512083, kThreeDigit84, 130512084},
           Case{13013184, kTwoDigit84, 13020101},  // month end
           Case{14123184, kTwoDigit84, 15010101},  // year end
           Case{12022884, kTwoDigit84, 12022901},  // leap day
           Case{9123184, kTwoDigit84, 10010101},   // 2009 → 2010
           Case{9010184, kTwoDigit84, 9010201},    // 2009 stays without leading zero
           Case{13051284, IssueRule{97, false}, 13051285},
           Case{13051297, IssueRule{97, false}, 13051301},
           Case{13051271, IssueRule{71, false}, 13051301},
           Case{13023184, kTwoDigit84, 13023185},     // no such day: plain + 1
           Case{13051284, kThreeDigit84, 130513001},  // rollover writes the rule's form
       }) {
    EXPECT_EQ(FollowingIssue(c.stored, c.rule), c.following) << c.stored;
  }
  EXPECT_EQ(ShownIssue(FollowingIssue(130512084, kThreeDigit84), true), "20130513001");
}

TEST(RangeEndBeforeTest, EndsJustBeforeTheChosenIssue) {
  struct Case {
    std::string shown;
    IssueRule rule;
    std::optional<int32_t> end;
  };
  for (const Case& c : {
           Case{"2013051301", kTwoDigit84, 13051284},
           Case{"2013051302", kTwoDigit84, 13051301},
           Case{"2013060101", kTwoDigit84, 13053184},
           Case{"2013010101", IssueRule{97, false}, 12123197},
           Case{"20130513001", kThreeDigit84, 130512084},
           Case{"20130513002", kThreeDigit84, 130513001},
           Case{"2010010101", kTwoDigit84, 9123184},  // into 2009: no leading zero
           Case{" 2013051302 ", kTwoDigit84, 13051301},
           // An issue of the other form keeps its own width.
           Case{"2013051301", kThreeDigit84, 13051284},
           Case{"20130513001", kTwoDigit84, 130512084},
           // Not an issue.
           Case{"", kTwoDigit84, std::nullopt},
           Case{"13051301", kTwoDigit84, std::nullopt},
           Case{"20130513x1", kTwoDigit84, std::nullopt},
           Case{"201305130101", kTwoDigit84, std::nullopt},
           Case{"2013023101", kTwoDigit84, std::nullopt},  // first draw of no real day
           Case{"2000010101", kTwoDigit84, std::nullopt},
           // Years outside 2000..2099: the day before would have no issue.
           Case{"42000101001", kThreeDigit84, std::nullopt},
           Case{"2100010101", kTwoDigit84, std::nullopt},
       }) {
    EXPECT_EQ(RangeEndBefore(c.shown, c.rule), c.end) << "\"" << c.shown << "\"";
  }
}

TEST(IssueYearTest, DaysOutside2000To2099HaveNoIssue) {
  struct Case {
    Date date;
    bool refused;
  };
  for (const Case& c :
       {Case{{2000, 1, 1}, false}, Case{{2099, 12, 31}, false}, Case{{1999, 12, 31}, true},
        Case{{2100, 1, 1}, true}, Case{{2215, 6, 1}, true}, Case{{4200, 1, 1}, true}}) {
    SCOPED_TRACE(c.date.year);
    EXPECT_EQ(IssueYearRefusal(c.date).has_value(), c.refused);
    for (const IssueRule& rule : {kTwoDigit84, kThreeDigit84}) {
      if (c.refused) {
        EXPECT_THROW(FirstIssueOfDay(c.date, rule), InputError);
        EXPECT_THROW(LastIssueOfDay(c.date, rule), InputError);
      } else {
        EXPECT_GT(FirstIssueOfDay(c.date, rule), 0);
        EXPECT_GT(LastIssueOfDay(c.date, rule), FirstIssueOfDay(c.date, rule));
      }
    }
  }
  // The last draw of 2099 has no next day to roll over to.
  EXPECT_EQ(FollowingIssue(99123184, kTwoDigit84), 99123185);
  EXPECT_EQ(FollowingIssue(991231084, kThreeDigit84), 991231085);
}

TEST(IssueYearTest, ShownIssuesOutside2000To2099AreRefused) {
  for (const char* text : {"2126120901", "19991231001", "42000101001", "212612090100"}) {
    EXPECT_TRUE(ShownIssueRefusal(text).has_value()) << text;
  }
  for (const char* text : {"2026120901", " 20991231084 ", "26120901", "x2126120901", ""}) {
    EXPECT_FALSE(ShownIssueRefusal(text).has_value()) << text;
  }
}

TEST(RangeBoxIssueTest, ReadsTheRightmostNineCharacters) {
  struct Case {
    std::string text;
    std::optional<int32_t> issue;
  };
  for (const Case& c : {
           Case{"2014011601", 14011601},
           Case{"14011601", 14011601},
           Case{"20130512084", 130512084},
           Case{"  2014011601 ", 14011601},
           Case{"2009123101", 9123101},
           Case{"x2014011601", 14011601},  // only the rightmost nine count
           Case{"20140116x1", std::nullopt},
           Case{"", std::nullopt},
           Case{"   ", std::nullopt},
           Case{"-14011601", std::nullopt},
       }) {
    EXPECT_EQ(RangeBoxIssue(c.text), c.issue) << "\"" << c.text << "\"";
  }
}

TEST(SpringFestivalTest, TableYearsAndOutside) {
  EXPECT_EQ(SpringFestival(2001), 124);
  EXPECT_EQ(SpringFestival(2013), 201);
  EXPECT_EQ(SpringFestival(2017), 128);
  EXPECT_EQ(SpringFestival(2018), 216);
  EXPECT_EQ(SpringFestival(2033), 131);
  EXPECT_EQ(SpringFestival(2050), 123);
  EXPECT_EQ(SpringFestival(2000), 0);
  EXPECT_EQ(SpringFestival(2051), 0);
  EXPECT_EQ(SpringFestival(-5), 0);
}

TEST(ZodiacYearTest, StoredIssueBeforeOnOrAfterTheFestival) {
  struct Case {
    int32_t stored;
    bool threeDigit;
    int year;
  };
  for (const Case& c : {
           Case{14013001, false, 2013},
           Case{14013101, false, 2013},  // the festival day itself
           Case{14020101, false, 2014},
           Case{18010501, false, 2017},  // 2018's festival is on 16 February
           Case{18021601, false, 2017},
           Case{18021701, false, 2018},
           Case{9012601, false, 2008},  // 2009, read through its padded digits
           Case{9012701, false, 2009},
           Case{130201084, true, 2012},
           Case{130202001, true, 2013},
       }) {
    EXPECT_EQ(ZodiacYear(c.stored, c.threeDigit), c.year) << c.stored;
  }
}

}  // namespace
}  // namespace zs
