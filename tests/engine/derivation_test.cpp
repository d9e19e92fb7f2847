#include "core/derivation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/edition.h"
#include "core/settings.h"
#include "tests/support/derivation_rules.h"
#include "tools/history_generator.h"

namespace zs {
namespace {

using testing::Rules;

const std::string& Text(const HistoryRow& row, ListText text) {
  return row.texts[static_cast<int>(text)];
}

const Numbers& Field(const HistoryRow& row, SearchType type) {
  return row.fields[static_cast<int>(type)];
}

TEST(DeriveRowTest, WorkedExampleOfZodiacYear2014) {
  const Draw draw{14020101, {3, 7, 15, 8, 19, 20, 11, 14}};
  const HistoryRow row = DeriveRow(draw, Rules(0, 0));

  EXPECT_EQ(row.issue, 14020101);
  EXPECT_EQ(Text(row, ListText::kNumbers), "03 07 15 08 19 20 11 14 ");
  EXPECT_EQ(Text(row, ListText::kTaggedNumbers), "1X03 1X07 1X15 1X08 1X19 1X20 1X11 1X14 ");
  EXPECT_EQ(Text(row, ListText::kZodiac), "1X04 1X00 2X04 1X11 2X00 2X11 1X08 1X05 ");
  EXPECT_EQ(Text(row, ListText::kSegment), "1X0 1X1 1X3 2X1 1X4 2X4 1X2 2X3 ");
  EXPECT_EQ(Text(row, ListText::kTens), "1X0 2X0 1X1 3X0 2X1 1X2 3X1 4X1 ");
  EXPECT_EQ(Text(row, ListText::kUnits), "1X3 1X7 1X5 1X8 1X9 1X0 1X1 1X4 ");
  EXPECT_EQ(Text(row, ListText::kSum), "1X03 1X07 1X06 1X08 1X10 1X02 2X02 1X05 ");

  EXPECT_EQ(Field(row, SearchType::kNumber), draw.numbers);
  EXPECT_EQ(Field(row, SearchType::kZodiac), (Numbers{4, 0, 4, 11, 0, 11, 8, 5}));
  EXPECT_EQ(Field(row, SearchType::kTens), (Numbers{0, 0, 1, 0, 1, 2, 1, 1}));
  EXPECT_EQ(Field(row, SearchType::kUnits), (Numbers{3, 7, 5, 8, 9, 0, 1, 4}));
  EXPECT_EQ(Field(row, SearchType::kSum), (Numbers{3, 7, 6, 8, 10, 2, 2, 5}));
  EXPECT_EQ(Field(row, SearchType::kSegment), (Numbers{0, 1, 3, 1, 4, 4, 2, 3}));
}

TEST(DeriveRowTest, BasesOfOneRaiseZodiacAndSegmentCodesOnly) {
  const Draw draw{14020101, {3, 7, 15, 8, 19, 20, 11, 14}};
  const HistoryRow zero = DeriveRow(draw, Rules(0, 0));
  const HistoryRow one = DeriveRow(draw, Rules(1, 1));
  for (int i = 0; i < kPositions; ++i) {
    EXPECT_EQ(Field(one, SearchType::kZodiac)[i], Field(zero, SearchType::kZodiac)[i] + 1);
    EXPECT_EQ(Field(one, SearchType::kSegment)[i], Field(zero, SearchType::kSegment)[i] + 1);
    for (SearchType type :
         {SearchType::kNumber, SearchType::kTens, SearchType::kUnits, SearchType::kSum}) {
      EXPECT_EQ(Field(one, type)[i], Field(zero, type)[i]);
    }
  }
  EXPECT_EQ(Text(one, ListText::kZodiac), "1X05 1X01 2X05 1X12 2X01 2X12 1X09 1X06 ");
  EXPECT_EQ(Text(one, ListText::kSegment), "1X1 1X2 1X4 2X2 1X5 2X5 1X3 2X4 ");
  EXPECT_EQ(Text(one, ListText::kSum), Text(zero, ListText::kSum));
}

// Number 01 carries the sign of the zodiac year, so its code (base 0) is the
// sign of the year the issue belongs to.
struct ZodiacYearCase {
  int32_t issue;
  bool threeDigit;
  int zodiacYear;
};

class ZodiacYearOfDrawTest : public ::testing::TestWithParam<ZodiacYearCase> {};

TEST_P(ZodiacYearOfDrawTest, NumberOneCarriesTheSignOfTheZodiacYear) {
  const ZodiacYearCase& c = GetParam();
  const Draw draw{c.issue, {1, 2, 3, 4, 5, 6, 7, 8}};
  const HistoryRow row = DeriveRow(draw, Rules(0, 0, IssueRule{84, c.threeDigit}));
  const int expectedSign = ((c.zodiacYear - 1972) % 12 + 12) % 12;
  EXPECT_EQ(Field(row, SearchType::kZodiac)[0], expectedSign) << c.issue;
  // 02 carries the sign of the year before.
  EXPECT_EQ(Field(row, SearchType::kZodiac)[1], (expectedSign + 11) % 12) << c.issue;
}

INSTANTIATE_TEST_SUITE_P(
    SpringFestival, ZodiacYearOfDrawTest,
    ::testing::Values(ZodiacYearCase{14013001, false, 2013},  // before the festival (131)
                      ZodiacYearCase{14013101, false, 2013},  // on the festival day itself
                      ZodiacYearCase{14020101, false, 2014},  // the day after
                      ZodiacYearCase{140131001, true, 2013},  // three-digit form, festival day
                      ZodiacYearCase{140201001, true, 2014},
                      ZodiacYearCase{13020184, false, 2012},  // 2013's festival is 201
                      ZodiacYearCase{13020201, false, 2013},
                      // The table is filled beyond 2017 with the real dates.
                      ZodiacYearCase{18010501, false, 2017},
                      ZodiacYearCase{18021601, false, 2017},  // 2018's festival is 216
                      ZodiacYearCase{18021701, false, 2018},
                      ZodiacYearCase{26021701, false, 2025},  // 2026's festival is 217
                      ZodiacYearCase{26021801, false, 2026},
                      // Issues of 2000..2009 are stored without their leading zero.
                      ZodiacYearCase{9012001, false, 2008},  // 2009's festival is 126
                      ZodiacYearCase{9123101, false, 2009}));

TEST(DeriveRowTest, SnakeAndHorseCodesAroundTheFestivalOf2014) {
  const Numbers numbers{1, 2, 3, 4, 5, 6, 7, 8};
  EXPECT_EQ(Field(DeriveRow(Draw{14013001, numbers}, Rules(0, 0)), SearchType::kZodiac)[0], 5);
  EXPECT_EQ(Field(DeriveRow(Draw{14020101, numbers}, Rules(0, 0)), SearchType::kZodiac)[0], 6);
}

TEST(ZodiacSignTest, FollowsTheTwelveYearCycleFromTheRat) {
  EXPECT_EQ(ZodiacSign(1, 1972), 0);   // 鼠
  EXPECT_EQ(ZodiacSign(1, 2013), 5);   // 蛇
  EXPECT_EQ(ZodiacSign(2, 2013), 4);   // 龙
  EXPECT_EQ(ZodiacSign(12, 2013), 6);  // 马
  EXPECT_EQ(ZodiacSign(13, 2013), 5);
  EXPECT_EQ(ZodiacSign(20, 2014), 11);
  EXPECT_EQ(ZodiacSign(1, 1971), 11);  // before the cycle's start: never negative
  EXPECT_EQ(ZodiacSign(20, 1960), 5);
}

TEST(DeriveRowTest, DigitValuesOfTenAndTwenty) {
  for (int segmentBase : {0, 1}) {
    const HistoryRow row =
        DeriveRow(Draw{14020101, {20, 10, 1, 2, 3, 4, 5, 6}}, Rules(1, segmentBase));
    EXPECT_EQ(Field(row, SearchType::kTens)[0], 2);
    EXPECT_EQ(Field(row, SearchType::kUnits)[0], 0);
    EXPECT_EQ(Field(row, SearchType::kSum)[0], 2);
    EXPECT_EQ(Field(row, SearchType::kSegment)[0], 4 + segmentBase);
    EXPECT_EQ(Field(row, SearchType::kTens)[1], 1);
    EXPECT_EQ(Field(row, SearchType::kUnits)[1], 0);
    EXPECT_EQ(Field(row, SearchType::kSum)[1], 1);
    EXPECT_EQ(Field(row, SearchType::kSegment)[1], 2 + segmentBase);
  }
}

TEST(DeriveRowTest, StoresTheIssueThatFollows) {
  struct {
    int32_t issue;
    IssueRule rule;
    int32_t next;
  } const cases[] = {
      {14013183, {84, false}, 14013184},
      {14013184, {84, false}, 14020101},  // last draw of the day
      {14123184, {84, false}, 15010101},  // into the next year
      {16022884, {84, false}, 16022901},  // leap day
      {14013184, {97, false}, 14013185},  // another edition's day
      {14013197, {97, false}, 14020101},
      {140131084, {84, true}, 140201001},  // three-digit rule
      {140131083, {84, true}, 140131084},
      {9123184, {84, false}, 10010101},  // 2009 → 2010
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DeriveRow(Draw{c.issue, {1, 2, 3, 4, 5, 6, 7, 8}}, Rules(1, 1, c.rule)).nextIssue,
              c.next)
        << c.issue;
  }
}

TEST(DeriveRowTest, EveryTextHoldsEightItemsEachFollowedByOneBlank) {
  GeneratorOptions options;
  options.first = {2014, 1, 1};
  options.last = {2014, 1, 3};
  options.seed = 7;
  for (const Draw& draw : GenerateHistory(options)) {
    const HistoryRow row = DeriveRow(draw, Rules(1, 1));
    EXPECT_EQ(Text(row, ListText::kNumbers).size(), 24u);
    for (const std::string& text : row.texts) {
      ASSERT_FALSE(text.empty());
      EXPECT_EQ(text.back(), ' ');
      EXPECT_EQ(std::count(text.begin(), text.end(), ' '), kPositions) << text;
      EXPECT_EQ(text.find("  "), std::string::npos) << text;
    }
  }
}

// What the free-position searches rely on: the item "cXv" is in a text
// exactly when at least c positions of the draw carry the value v.
TEST(DeriveRowTest, TaggedItemPresentExactlyWhenValueOccursOftenEnough) {
  const std::vector<Draw> draws = {
      {14020101, {3, 7, 15, 8, 19, 20, 11, 14}},
      {14020102, {10, 20, 1, 11, 2, 12, 19, 9}},
      {14020103, {1, 13, 2, 14, 3, 15, 4, 16}},
  };
  const std::array<std::pair<ListText, SearchType>, 6> tagged = {{
      {ListText::kTaggedNumbers, SearchType::kNumber},
      {ListText::kZodiac, SearchType::kZodiac},
      {ListText::kSegment, SearchType::kSegment},
      {ListText::kTens, SearchType::kTens},
      {ListText::kUnits, SearchType::kUnits},
      {ListText::kSum, SearchType::kSum},
  }};
  for (const Draw& draw : draws) {
    const HistoryRow row = DeriveRow(draw, Rules(0, 1));
    for (const auto& [text, type] : tagged) {
      const bool twoDigits =
          text == ListText::kTaggedNumbers || text == ListText::kZodiac || text == ListText::kSum;
      for (int value = 0; value <= 20; ++value) {
        const auto occurrences =
            std::count(Field(row, type).begin(), Field(row, type).end(), value);
        for (int c = 1; c <= kPositions; ++c) {
          std::string item = std::to_string(c) + "X";
          if (twoDigits && value < 10) item += '0';
          item += std::to_string(value) + " ";
          const bool present = (" " + Text(row, text)).find(" " + item) != std::string::npos;
          EXPECT_EQ(present, c <= occurrences) << Text(row, text) << " item " << item;
        }
      }
    }
  }
}

TEST(DerivationRulesTest, TakesBasesAndIssueRuleFromSettings) {
  Settings settings;
  settings.zodiacBase = 0;
  settings.segmentBase = 1;
  settings.edition = EditionChoice::Of(3);  // 重庆快乐十分, 97 draws a day
  DerivationRules rules = DerivationRules::From(settings);
  EXPECT_EQ(rules.zodiacBase, 0);
  EXPECT_EQ(rules.segmentBase, 1);
  EXPECT_EQ(rules.issueRule.drawsPerDay, 97);
  EXPECT_FALSE(rules.issueRule.threeDigit);

  settings.edition = EditionChoice();
  rules = DerivationRules::From(settings);
  EXPECT_EQ(rules.issueRule.drawsPerDay, 84);
  EXPECT_TRUE(rules.issueRule.threeDigit);
}

}  // namespace
}  // namespace zs
