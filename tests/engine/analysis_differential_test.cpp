// The index-based analyses against the counting scheme done literally in
// SQL, on random histories (repeated numbers inside a draw included), for
// every search type, both position modes, part sizes 0..7, group sizes 1..6,
// random patterns (impossible and repeated values included) and random
// ranges (start not stored, start after end, outside the history).
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "analysis/group_calculation.h"
#include "analysis/partial_search.h"
#include "analysis/position_search.h"
#include "analysis/search_range.h"
#include "core/issue_number.h"
#include "tests/support/analysis_histories.h"
#include "tests/support/counting_oracle.h"
#include "tests/support/derivation_rules.h"

namespace zs {
namespace {

using testing::CountingOracle;
using testing::OracleHits;

class DifferentialTest : public ::testing::TestWithParam<uint64_t> {
 protected:
  void SetUp() override {
    random_.seed(GetParam());
    bases_ = {static_cast<int>(random_() % 2), static_cast<int>(random_() % 2)};
    const int draws = 120 + static_cast<int>(random_() % 200);
    history_ = testing::MakeAnalysisHistory(testing::RandomDraws(GetParam(), draws, 0.2),
                                            testing::Rules(bases_.zodiacBase, bases_.segmentBase));
    oracle_ = std::make_unique<CountingOracle>(history_.store->db());
  }

  int Pick(int from, int to) { return from + static_cast<int>(random_() % (to - from + 1)); }

  // A range end: mostly a stored issue, sometimes one that is not stored or
  // lies outside the history.
  std::string RangeBox() {
    const auto& index = history_.index;
    const int32_t stored = index.Issue(static_cast<size_t>(Pick(0, index.DrawCount() - 1)));
    int32_t issue = stored;
    switch (Pick(0, 5)) {
      case 0:
        issue = stored + 90 - stored % 100;
        break;  // sequence 90: never stored
      case 1:
        issue = index.Issue(0) - 1;
        break;
      case 2:
        issue = index.Issue(index.DrawCount() - 1) + 1;
        break;
      default:
        break;
    }
    return ShownIssue(issue, false);
  }

  // A value of the type, now and then one no draw carries.
  int Value(SearchType type) {
    switch (Pick(0, 9)) {
      case 0:
        return Pick(-2, 0);
      case 1:
        return Pick(21, 25);
      default:
        break;
    }
    // Lowest and highest value picked, by search type (number, zodiac, tens,
    // units, sum, segment).
    static constexpr int kRange[kSearchTypeCount][2] = {{1, 20}, {0, 12}, {0, 3},
                                                        {0, 9},  {1, 11}, {0, 6}};
    const auto& range = kRange[static_cast<int>(type)];
    return Pick(range[0], range[1]);
  }

  SearchPattern Pattern(SearchType type, bool free) {
    SearchPattern pattern;
    pattern.type = type;
    pattern.freePositions = free;
    for (int p = 0; p < kPositions; ++p) {
      // Repeat an earlier value now and then.
      pattern.values[p] = p > 0 && Pick(0, 3) == 0 ? pattern.values[Pick(0, p - 1)] : Value(type);
      pattern.boxTexts[p] = std::string("v").append(std::to_string(pattern.values[p]));
    }
    return pattern;
  }

  static void ExpectSame(const SearchResult& engine, const OracleHits& oracle) {
    std::vector<int64_t> idx;
    std::vector<int32_t> omissions;
    for (const Hit& hit : engine.hits->hits) {
      idx.push_back(hit.idx);
      omissions.push_back(hit.omission);
    }
    EXPECT_EQ(engine.label, oracle.label);
    EXPECT_EQ(idx, oracle.idx);
    EXPECT_EQ(omissions, oracle.omissions);
    EXPECT_EQ(engine.hits->figures.smallest, oracle.smallest);
    EXPECT_EQ(engine.hits->figures.largest, oracle.largest);
    EXPECT_EQ(engine.hits->figures.last, oracle.last);
    EXPECT_EQ(engine.hits->figures.Ratio(), oracle.ratio);
    EXPECT_EQ(engine.hitGrid->RowCount(), oracle.idx.size());
  }

  std::mt19937_64 random_;
  PanelBases bases_;
  testing::AnalysisHistory history_;
  std::unique_ptr<CountingOracle> oracle_;
};

TEST_P(DifferentialTest, PositionSearch) {
  for (int t = 0; t < kSearchTypeCount; ++t) {
    for (bool free : {false, true}) {
      for (int round = 0; round < 4; ++round) {
        PositionSearchRequest request;
        request.pattern = Pattern(static_cast<SearchType>(t), free);
        for (bool& chosen : request.chosen) chosen = Pick(0, 2) != 0;
        request.startBox = RangeBox();
        request.endBox = RangeBox();
        SCOPED_TRACE("type " + std::to_string(t) + (free ? " free " : " fixed ") +
                     request.startBox + ".." + request.endBox);
        const SearchRange range = ReadRangeBoxes(request.startBox, request.endBox);
        ExpectSame(
            RunPositionSearch(history_.index, request),
            oracle_->PositionSearch(request.pattern, request.chosen, range.start, range.end));
      }
    }
  }
}

TEST_P(DifferentialTest, PartialSearch) {
  for (int t = 0; t < kSearchTypeCount; ++t) {
    for (bool free : {false, true}) {
      // Two part sizes per type and mode; 0..7 all come up in every run.
      const int first = (2 * t + (free ? 1 : 0) + static_cast<int>(GetParam())) % 8;
      for (int k : {first, (first + 4) % 8}) {
        PartialSearchRequest request;
        request.pattern = Pattern(static_cast<SearchType>(t), free);
        request.partSize = k;
        request.partSizeText = std::to_string(k);
        request.startBox = RangeBox();
        request.endBox = RangeBox();
        SCOPED_TRACE("type " + std::to_string(t) + (free ? " free" : " fixed") + " k " +
                     std::to_string(k));
        const SearchRange range = ReadRangeBoxes(request.startBox, request.endBox);
        ExpectSame(RunPartialSearch(history_.index, request),
                   oracle_->PartialSearch(request.pattern, k, request.partSizeText, range.start,
                                          range.end));
      }
    }
  }
}

TEST_P(DifferentialTest, GroupCalculation) {
  for (int t = 0; t < kSearchTypeCount; ++t) {
    for (int size = 1; size <= 6; ++size) {
      const auto type = static_cast<SearchType>(t);
      std::array<bool, 20> checked{};
      GroupRequest request;
      request.type = type;
      request.groupSize = size;
      request.bases = bases_;
      // Up to size + 2 checked boxes, hidden boxes and boxes above the
      // type's count included.
      const int count = Pick(0, size + 2);
      for (int i = 0; i < count; ++i) {
        const int box = Pick(1, std::min(20, BoxCount(type) + 2));
        checked[box - 1] = true;
        request.checkedBoxes.push_back(box);
      }
      request.startBox = RangeBox();
      request.endBox = RangeBox();
      SCOPED_TRACE("type " + std::to_string(t) + " size " + std::to_string(size));
      const SearchRange range = ReadRangeBoxes(request.startBox, request.endBox);
      const auto expected =
          oracle_->GroupCalculation(type, checked, size, bases_, range.start, range.end);
      ASSERT_TRUE(expected.has_value());
      EXPECT_EQ(ComputeGroupRows(history_.index, request), *expected);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, DifferentialTest, ::testing::Range<uint64_t>(1, 9));

}  // namespace
}  // namespace zs
