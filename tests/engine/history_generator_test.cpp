#include "tools/history_generator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "core/history_text.h"

namespace zs {
namespace {

GeneratorOptions Span(Date first, Date last, double missingRate = 0.0) {
  GeneratorOptions options;
  options.first = first;
  options.last = last;
  options.missingRate = missingRate;
  return options;
}

int DrawsOn(const std::vector<Draw>& draws, const Date& day, const IssueRule& rule) {
  return static_cast<int>(std::count_if(draws.begin(), draws.end(), [&](const Draw& draw) {
    return IssueDate(draw.issue, rule.threeDigit) == day;
  }));
}

TEST(HistoryGeneratorTest, DrawsAreValidAndInIssueOrder) {
  const std::vector<Draw> draws = GenerateHistory(Span({2013, 12, 30}, {2014, 1, 2}, 0.05));
  ASSERT_FALSE(draws.empty());
  for (size_t i = 0; i < draws.size(); ++i) {
    const std::set<int> distinct(draws[i].numbers.begin(), draws[i].numbers.end());
    EXPECT_EQ(distinct.size(), 8u);
    EXPECT_GE(*distinct.begin(), 1);
    EXPECT_LE(*distinct.rbegin(), 20);
    if (i > 0) {
      EXPECT_LT(draws[i - 1].issue, draws[i].issue);
    }
  }
  EXPECT_EQ(draws.front().issue / 100, 131230);
  EXPECT_EQ(draws.back().issue / 100, 140102);
}

TEST(HistoryGeneratorTest, SameSeedSameHistoryOtherSeedOtherHistory) {
  GeneratorOptions options = Span({2014, 3, 1}, {2014, 3, 2}, 0.01);
  const std::vector<Draw> first = GenerateHistory(options);
  EXPECT_EQ(GenerateHistory(options), first);
  options.seed = 2;
  EXPECT_NE(GenerateHistory(options), first);
}

TEST(HistoryGeneratorTest, EveryDayHasItsDrawsExceptAroundTheSpringFestival) {
  // The 2014 festival is on 31 January: no draws from its eve for a week.
  const IssueRule rule{84, false};
  const std::vector<Draw> draws = GenerateHistory(Span({2014, 1, 28}, {2014, 2, 8}));
  EXPECT_EQ(DrawsOn(draws, {2014, 1, 29}, rule), 84);
  for (Date day{2014, 1, 30}; day <= Date{2014, 2, 5}; day = AddDays(day, 1)) {
    EXPECT_EQ(DrawsOn(draws, day, rule), 0) << day.month << "-" << day.day;
  }
  EXPECT_EQ(DrawsOn(draws, {2014, 2, 6}, rule), 84);
  EXPECT_EQ(draws.size(), 5u * 84);

  GeneratorOptions noBreak = Span({2014, 1, 28}, {2014, 2, 8});
  noBreak.springFestivalBreak = false;
  EXPECT_EQ(GenerateHistory(noBreak).size(), 12u * 84);
}

TEST(HistoryGeneratorTest, MissingIssuesFollowTheRate) {
  const std::vector<Draw> draws = GenerateHistory(Span({2014, 6, 1}, {2014, 6, 30}, 0.1));
  const double kept = static_cast<double>(draws.size()) / (30 * 84);
  EXPECT_GT(kept, 0.85);
  EXPECT_LT(kept, 0.95);
}

TEST(HistoryGeneratorTest, ThreeDigitSequence) {
  GeneratorOptions options = Span({2014, 6, 1}, {2014, 6, 1});
  options.threeDigit = true;
  options.drawsPerDay = 97;
  const std::vector<Draw> draws = GenerateHistory(options);
  ASSERT_EQ(draws.size(), 97u);
  EXPECT_EQ(draws.front().issue, 140601001);
  EXPECT_EQ(draws.back().issue, 140601097);
}

TEST(HistoryGeneratorTest, SpanForADrawCountEndsWithTheLastDay) {
  const GeneratorOptions options = OptionsForDrawCount(1000, {2014, 2, 10}, 84, 3);
  EXPECT_EQ(options.last, (Date{2014, 2, 10}));
  const std::vector<Draw> draws = GenerateHistory(options);
  EXPECT_GE(draws.size(), 1000u);
  EXPECT_LT(draws.size(), 1000u + 2 * 84);
  EXPECT_EQ(IssueDate(draws.back().issue, false), (Date{2014, 2, 10}));
}

TEST(HistoryFileTextTest, ImportLayoutForBothIssueForms) {
  const std::vector<Draw> draws = {{9123101, {3, 7, 15, 8, 19, 20, 11, 14}},
                                   {14011602, {1, 2, 3, 4, 5, 6, 7, 8}}};
  EXPECT_EQ(HistoryFileText(draws, false),
            "09123101  03 07 15 08 19 20 11 14\r\n"
            "14011602  01 02 03 04 05 06 07 08\r\n");
  EXPECT_EQ(HistoryFileText({{140116001, {10, 20, 1, 2, 3, 4, 5, 6}}}, true),
            "140116001 10 20 01 02 03 04 05 06\r\n");
}

TEST(HistoryFileTextTest, ReadsBackAsTheSameDraws) {
  for (bool threeDigit : {false, true}) {
    GeneratorOptions options = Span({2009, 12, 31}, {2010, 1, 1}, 0.05);
    options.threeDigit = threeDigit;
    const std::vector<Draw> draws = GenerateHistory(options);
    const std::u32string text = DecodeText(HistoryFileText(draws, threeDigit));
    const DrawReadout readout = ReadDraws(text, LineLayout::kHistoryFile, 0, Numbers{});
    EXPECT_EQ(readout.draws, draws);
    EXPECT_EQ(readout.skipped, 0);
    EXPECT_EQ(readout.inherited, 0);
  }
}

}  // namespace
}  // namespace zs
