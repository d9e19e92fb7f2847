// Position and partial search: the worked example, the omission rules (the
// virtual previous hit, the last omission, no hit, 32-bit counters), the
// criteria of every type and mode, labels, grids and refused range boxes.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "analysis/history_index.h"
#include "analysis/partial_search.h"
#include "analysis/position_search.h"
#include "core/derivation.h"
#include "core/errors.h"
#include "core/issue_number.h"
#include "tests/support/derivation_rules.h"

namespace zs {
namespace {

using testing::kTwoDigit84;
using testing::Rules;

// A history of `count` draws on consecutive issues; the draws with an idx in
// `sevenFirst` start with number 7, the others with 1, followed by 2..6, 8, 9.
std::vector<HistoryRow> MarkedHistory(int count, const std::set<int>& sevenFirst) {
  std::vector<HistoryRow> rows;
  int32_t issue = 14010101;
  for (int idx = 1; idx <= count; ++idx) {
    Draw draw{issue, {sevenFirst.count(idx) ? 7 : 1, 2, 3, 4, 5, 6, 8, 9}};
    HistoryRow row = DeriveRow(draw, Rules());
    row.idx = idx;
    rows.push_back(row);
    issue = FollowingIssue(issue, kTwoDigit84);
  }
  return rows;
}

std::string Box(const HistoryIndex& index, int idx) {
  return ShownIssue(index.Issue(static_cast<size_t>(idx - 1)), false);
}

// The idx of every hit of a partial search over draws 1..last.
std::vector<int64_t> HitsUpTo(const HistoryIndex& index, PartialSearchRequest request, int last) {
  request.startBox = Box(index, 1);
  request.endBox = Box(index, last);
  const SearchResult result = RunPartialSearch(index, request);
  std::vector<int64_t> hits;
  for (const Hit& hit : result.hits->hits) hits.push_back(hit.idx);
  return hits;
}

PositionSearchRequest FirstIsSeven(const HistoryIndex& index, int fromIdx, int toIdx) {
  PositionSearchRequest request;
  request.pattern.type = SearchType::kNumber;
  request.pattern.freePositions = false;
  request.pattern.values = {7, 0, 0, 0, 0, 0, 0, 0};
  request.chosen = {true, false, false, false, false, false, false, false};
  request.startBox = Box(index, fromIdx);
  request.endBox = Box(index, toIdx);
  return request;
}

std::vector<int32_t> Omissions(const SearchResult& result) {
  std::vector<int32_t> omissions;
  for (const Hit& hit : result.hits->hits) omissions.push_back(hit.omission);
  return omissions;
}

std::vector<std::string> Row(const GridSource& grid, size_t row) {
  std::vector<std::string> cells;
  std::string scratch;
  for (size_t c = 0; c < grid.ColumnCount(); ++c) {
    cells.emplace_back(grid.CellText(row, c, scratch));
  }
  return cells;
}

TEST(OmissionFiguresTest, WorkedExample) {
  const HistoryIndex index(MarkedHistory(115, {101, 104, 105, 110}));
  const SearchResult result = RunPositionSearch(index, FirstIsSeven(index, 101, 115));

  EXPECT_EQ(Omissions(result), (std::vector<int32_t>{1, 3, 1, 5}));
  EXPECT_EQ(result.hits->figures, (OmissionFigures{1, 5, 6}));
  EXPECT_EQ(Row(result.summaryGrid, 0),
            (std::vector<std::string>{"07 ", "1", "5", "6", "0.833333333333333"}));
  EXPECT_EQ(SingleText(result.hits->figures.SingleRatio()), "0.8333333");
  ASSERT_EQ(result.hitGrid->RowCount(), 4u);
  EXPECT_EQ(Row(*result.hitGrid, 1), (std::vector<std::string>{"2014010220", "7", "2", "3", "4",
                                                               "5", "6", "8", "9", "3", "2"}));
}

// The grid of a search is read long after it is made (the window shows it,
// an export writes it) while new draws come in and old ones are deleted.
TEST(HitGridTest, KeepsShowingTheDrawsItWasMadeFrom) {
  HistoryIndex index(MarkedHistory(115, {101, 104, 105, 110}));
  const SearchResult result = RunPositionSearch(index, FirstIsSeven(index, 101, 115));
  const std::vector<std::string> newest = Row(*result.hitGrid, 3);
  ASSERT_EQ(newest[1], "7");
  const std::vector<HistoryRow> replacements = MarkedHistory(115, {});
  for (int i = 0; i < 10; ++i) index.RemoveLast();
  for (size_t i = 105; i < 115; ++i) index.Append(replacements[i]);
  EXPECT_EQ(index.Field(109, SearchType::kNumber, 0), 1);
  EXPECT_EQ(Row(*result.hitGrid, 3), newest);
}

struct OmissionCase {
  const char* name;
  int draws;
  std::set<int> hits;
  int fromIdx, toIdx;
  std::vector<int32_t> omissions;
  OmissionFigures figures;
};

class OmissionCaseTest : public ::testing::TestWithParam<OmissionCase> {};

TEST_P(OmissionCaseTest, GivesTheFigures) {
  const OmissionCase& c = GetParam();
  const HistoryIndex index(MarkedHistory(c.draws, c.hits));
  const SearchResult result = RunPositionSearch(index, FirstIsSeven(index, c.fromIdx, c.toIdx));
  EXPECT_EQ(Omissions(result), c.omissions);
  EXPECT_EQ(result.hits->figures, c.figures);
  EXPECT_EQ(result.hitGrid->RowCount(), c.omissions.size());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OmissionCaseTest,
    ::testing::Values(
        OmissionCase{"single_hit_on_newest_that_is_range_start", 30, {30}, 30, 30, {1}, {1, 1, 1}},
        OmissionCase{"range_ends_ten_before_newest", 40, {20, 30}, 10, 30, {11, 10}, {10, 11, 11}},
        OmissionCase{"hits_on_first_and_consecutive", 20, {5, 6, 7}, 5, 20, {1, 1, 1}, {1, 1, 14}},
        OmissionCase{
            "no_hit_counts_last_from_before_start", 50, {}, 11, 50, {}, {32767, 32767, 41}},
        OmissionCase{"hit_outside_range_is_no_hit", 50, {5}, 11, 50, {}, {32767, 32767, 41}},
        OmissionCase{"start_after_end_finds_nothing", 50, {20}, 30, 10, {}, {32767, 32767, 22}},
        // The smallest omission is the smallest gap whatever its size.
        OmissionCase{"gaps_above_16_bits",
                     80000,
                     {40000, 79000},
                     1,
                     80000,
                     {40000, 39000},
                     {39000, 40000, 1001}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(OmissionFiguresTest, StartIssueNotStoredCountsTheDrawsBelowIt) {
  // idx 1..10 on 14010101..; the box names 14010105 + a gap that is not stored.
  std::vector<HistoryRow> rows = MarkedHistory(10, {6, 8});
  rows.erase(rows.begin() + 4);  // drop idx 5 (issue 14010105)
  const HistoryIndex index(rows);
  PositionSearchRequest request = FirstIsSeven(index, 1, 9);
  request.startBox = "2014010105";
  const SearchResult result = RunPositionSearch(index, request);
  // Four draws lie below 14010105, so the hit at idx 5 (issue 14010106) has omission 1.
  EXPECT_EQ(Omissions(result), (std::vector<int32_t>{1, 2}));
  EXPECT_EQ(result.hits->figures, (OmissionFigures{1, 2, 3}));
}

TEST(OmissionFiguresTest, NoHitSummaryShowsThe16BitMarkerOverTheLastOmission) {
  const HistoryIndex index(MarkedHistory(20, {}));
  const SearchResult result = RunPositionSearch(index, FirstIsSeven(index, 1, 20));
  EXPECT_EQ(result.hitGrid->RowCount(), 0u);
  EXPECT_EQ(Row(result.summaryGrid, 0),
            (std::vector<std::string>{"07 ", "32767", "32767", "21", "1560.33333333333"}));
}

TEST(RangeBoxTest, NonNumericBoxIsRefusedWithTheReason) {
  const HistoryIndex index(MarkedHistory(20, {3}));
  for (const char* bad : {"", "2014abc101", "abcdefghijk"}) {
    PositionSearchRequest request = FirstIsSeven(index, 1, 20);
    request.endBox = bad;
    EXPECT_THROW(RunPositionSearch(index, request), InputError) << bad;
    PartialSearchRequest partial;
    partial.startBox = bad;
    partial.endBox = Box(index, 20);
    try {
      RunPartialSearch(index, partial);
      ADD_FAILURE() << "no refusal for " << bad;
    } catch (const InputError& error) {
      EXPECT_NE(std::string(error.what()).find("起始"), std::string::npos);
    }
  }
  // Only the rightmost nine characters count.
  PositionSearchRequest request = FirstIsSeven(index, 1, 20);
  request.startBox = "xx" + Box(index, 1).substr(1);
  EXPECT_EQ(RunPositionSearch(index, request).hits->hits.size(), 1u);
}

// Draws chosen to exercise each criterion.
HistoryIndex CriteriaHistory(int zodiacBase = 1) {
  const std::vector<Numbers> numbers = {
      {1, 2, 3, 4, 5, 6, 8, 9},         // idx 1
      {19, 19, 3, 4, 5, 6, 8, 9},       // idx 2: 19 at positions 1 and 2
      {7, 10, 13, 1, 2, 3, 4, 5},       // idx 3
      {13, 1, 7, 2, 3, 4, 5, 6},        // idx 4: zodiac of 13 equals that of 1
      {20, 11, 2, 15, 16, 17, 18, 12},  // idx 5
  };
  std::vector<HistoryRow> rows;
  int32_t issue = 14030101;
  for (const Numbers& n : numbers) {
    rows.push_back(DeriveRow(Draw{issue++, n}, Rules(zodiacBase)));
  }
  return HistoryIndex(rows);
}

struct CriteriaCase {
  const char* name;
  SearchType type;
  bool free;
  std::array<int, 8> values;
  PositionChoice chosen;
  std::vector<int64_t> hits;
};

class CriteriaTest : public ::testing::TestWithParam<CriteriaCase> {};

TEST_P(CriteriaTest, FindsTheDraws) {
  const CriteriaCase& c = GetParam();
  const HistoryIndex index = CriteriaHistory();
  PositionSearchRequest request;
  request.pattern.type = c.type;
  request.pattern.freePositions = c.free;
  request.pattern.values = c.values;
  request.chosen = c.chosen;
  request.startBox = Box(index, 1);
  request.endBox = Box(index, 5);
  const SearchResult result = RunPositionSearch(index, request);
  std::vector<int64_t> hits;
  for (const Hit& hit : result.hits->hits) hits.push_back(hit.idx);
  EXPECT_EQ(hits, c.hits);
}

constexpr PositionChoice kFirst = {true, false, false, false, false, false, false, false};
constexpr PositionChoice kSecond = {false, true, false, false, false, false, false, false};
constexpr PositionChoice kThird = {false, false, true, false, false, false, false, false};
constexpr PositionChoice kFirstTwo = {true, true, false, false, false, false, false, false};
constexpr PositionChoice kNone = {};

INSTANTIATE_TEST_SUITE_P(
    Cases, CriteriaTest,
    ::testing::Values(
        CriteriaCase{
            "no_position_every_draw", SearchType::kNumber, false, {}, kNone, {1, 2, 3, 4, 5}},
        CriteriaCase{"fixed_number_third_is_7", SearchType::kNumber, false, {0, 0, 7}, kThird, {4}},
        CriteriaCase{"free_number_7_anywhere", SearchType::kNumber, true, {7}, kFirst, {3, 4}},
        CriteriaCase{"free_number_repeated_value_needs_one",
                     SearchType::kNumber,
                     true,
                     {19, 19},
                     kFirstTwo,
                     {2}},
        CriteriaCase{
            "fixed_sum_second_is_10_means_19", SearchType::kSum, false, {0, 10}, kSecond, {2}},
        CriteriaCase{"free_sum_10", SearchType::kSum, true, {10}, kFirst, {2}},
        CriteriaCase{
            "free_zodiac_value_0_under_base_1", SearchType::kZodiac, true, {0, 0}, kFirstTwo, {}},
        CriteriaCase{"free_tens_2", SearchType::kTens, true, {2}, kFirst, {5}},
        CriteriaCase{"fixed_units_0_second", SearchType::kUnits, false, {0, 0}, kSecond, {3}},
        CriteriaCase{
            "free_segment_value_no_draw_carries", SearchType::kSegment, true, {0}, kFirst, {}},
        CriteriaCase{"number_25_matches_nothing", SearchType::kNumber, true, {25}, kFirst, {}},
        CriteriaCase{"negative_value_matches_nothing", SearchType::kUnits, false, {-1}, kFirst, {}},
        CriteriaCase{
            "fixed_number_0_matches_nothing", SearchType::kNumber, false, {0}, kFirst, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CriteriaTest, FreeZodiacWithTheSameValueTwiceNeedsTwoNumbersOfIt) {
  const HistoryIndex index = CriteriaHistory();
  // Zodiac value of number 1 in this history equals that of 13.
  const int value = index.Field(0, SearchType::kZodiac, 0);
  ASSERT_EQ(index.Field(3, SearchType::kZodiac, 0), value);
  PositionSearchRequest request;
  request.pattern.type = SearchType::kZodiac;
  request.pattern.values = {value, value};
  request.pattern.boxTexts = {"甲", "乙"};
  request.chosen = kFirstTwo;
  request.startBox = Box(index, 1);
  request.endBox = Box(index, 5);
  const SearchResult two = RunPositionSearch(index, request);
  ASSERT_EQ(two.hits->hits.size(), 2u);  // draws 3 and 4 hold both 1 and 13
  EXPECT_EQ(two.hits->hits[0].idx, 3);
  EXPECT_EQ(two.hits->hits[1].idx, 4);
  EXPECT_EQ(two.label, "甲 乙 ");
  request.chosen = kFirst;
  EXPECT_EQ(RunPositionSearch(index, request).hits->hits.size(), 3u);  // draws 1, 3, 4
}

TEST(HitGridTest, ShowsZodiacNamesAndTheStoredSum) {
  const HistoryIndex index = CriteriaHistory(0);
  PositionSearchRequest request;
  request.chosen = kNone;
  request.startBox = Box(index, 2);
  request.endBox = Box(index, 2);
  request.show.zodiacBase = 0;
  request.pattern.type = SearchType::kSum;
  const SearchResult sums = RunPositionSearch(index, request);
  EXPECT_EQ(Row(*sums.hitGrid, 0), (std::vector<std::string>{"2014030102", "10", "10", "3", "4",
                                                             "5", "6", "8", "9", "1", "1"}));
  request.pattern.type = SearchType::kZodiac;
  const SearchResult zodiac = RunPositionSearch(index, request);
  // 19 in zodiac year 2014 carries sign 0, code 0 under base 0.
  EXPECT_EQ(Row(*zodiac.hitGrid, 0)[1], "鼠");
  EXPECT_EQ(zodiac.hitGrid->Headings()[1], "平1位");
  EXPECT_EQ(zodiac.hitGrid->Headings()[10], "序号");
}

TEST(LabelTest, FixedWritesTwoDigitValuesFreeWritesBoxTexts) {
  SearchPattern pattern;
  pattern.values = {5, 12, -3, 0, 0, 0, 0, 100};
  pattern.boxTexts = {"5", "12", "-3", "", "", "", "", "100"};
  const PositionChoice chosen = {true, true, true, false, false, false, false, true};
  pattern.freePositions = false;
  EXPECT_EQ(PositionSearchLabel(pattern, chosen), "05 12 -03 100 ");
  pattern.freePositions = true;
  EXPECT_EQ(PositionSearchLabel(pattern, chosen), "5 12 -3 100 ");
  pattern.boxTexts = {"05", "11", "03", "18", "07", "12", "01", "20"};
  EXPECT_EQ(PartialSearchLabel(pattern, "2"), "05 11 03 18 07 12 01 20 (2)");
}

// Partial search: draws agreeing with the pattern 1 2 3 4 5 6 8 9 at some
// positions, fixed.
TEST(PartialSearchTest, FixedCountsAgreeingPositions) {
  std::vector<HistoryRow> rows;
  const std::vector<Numbers> numbers = {
      {1, 2, 3, 4, 5, 6, 8, 9},          // 8 agree
      {1, 2, 3, 4, 5, 6, 10, 11},        // 6
      {1, 2, 3, 4, 5, 12, 10, 11},       // 5
      {1, 12, 13, 14, 15, 16, 17, 18},   // 1
      {20, 12, 13, 14, 15, 16, 17, 18},  // 0
      {2, 1, 4, 3, 6, 5, 9, 8},          // 0 fixed, 8 free
  };
  int32_t issue = 14050101;
  for (const Numbers& n : numbers) rows.push_back(DeriveRow(Draw{issue++, n}, Rules()));
  const HistoryIndex index(rows);
  PartialSearchRequest request;
  request.pattern.values = {1, 2, 3, 4, 5, 6, 8, 9};
  auto hitsFor = [&](bool free, int k) {
    request.pattern.freePositions = free;
    request.partSize = k;
    return HitsUpTo(index, request, 6);
  };
  EXPECT_EQ(hitsFor(false, 1), (std::vector<int64_t>{1, 2, 3, 4}));
  EXPECT_EQ(hitsFor(false, 6), (std::vector<int64_t>{1, 2}));
  EXPECT_EQ(hitsFor(false, 5), (std::vector<int64_t>{1, 2, 3}));
  EXPECT_EQ(hitsFor(true, 6), (std::vector<int64_t>{1, 2, 6}));
  EXPECT_EQ(hitsFor(true, 2), (std::vector<int64_t>{1, 2, 3, 6}));
  for (int outside : {0, 7, -1}) EXPECT_TRUE(hitsFor(false, outside).empty()) << outside;
}

TEST(PartialSearchTest, FreeZodiacPairsValuesWithDistinctNumbers) {
  // With zodiac base 1 in zodiac year 2014 (horse, sign 6): number n has sign
  // (6 − (n − 1)) mod 12, so 1 and 13 share value 7, 2 and 14 value 6.
  std::vector<HistoryRow> rows;
  const std::vector<Numbers> numbers = {
      {1, 13, 2, 20, 19, 18, 17, 16},  // two of value 7, one of value 6 → 3
      {1, 20, 19, 18, 17, 16, 15, 4},  // one of value 7, none of value 6 → 1
  };
  int32_t issue = 14050101;
  for (const Numbers& n : numbers) rows.push_back(DeriveRow(Draw{issue++, n}, Rules()));
  const HistoryIndex index(rows);
  ASSERT_EQ(index.Field(0, SearchType::kZodiac, 0), 7);
  ASSERT_EQ(index.Field(0, SearchType::kZodiac, 2), 6);
  PartialSearchRequest request;
  request.pattern.type = SearchType::kZodiac;
  // 7, 7, 7, 6 and four values no draw carries under base 1.
  request.pattern.values = {7, 7, 7, 6, 0, 13, 14, 15};
  request.partSize = 3;
  EXPECT_EQ(HitsUpTo(index, request, 2), (std::vector<int64_t>{1}));
}

TEST(PartialSearchTest, SixOfEightFindsADrawAgreeingAtSeven) {
  const HistoryIndex index = CriteriaHistory();
  PartialSearchRequest request;
  request.pattern.values = {13, 1, 7, 2, 3, 4, 5, 99};
  request.pattern.freePositions = false;
  request.partSize = 6;
  EXPECT_EQ(HitsUpTo(index, request, 5), (std::vector<int64_t>{4}));
}

}  // namespace
}  // namespace zs
