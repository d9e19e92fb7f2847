// The per-box views (statistics, trend rows and footers, omission
// distribution, a combination's hits) against a brute-force reading of the
// stored fields, on random histories, for every search type, both position
// modes, both bases and ranges of every kind: the whole history, a sub-range,
// a start that is not stored, one draw, a start after the end.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include "analysis/box_statistics.h"
#include "analysis/box_view.h"
#include "analysis/grid_sort.h"
#include "analysis/omission_distribution.h"
#include "analysis/trend_grid.h"
#include "core/errors.h"
#include "core/issue_number.h"
#include "core/text.h"
#include "tests/support/analysis_histories.h"
#include "tests/support/derivation_rules.h"

namespace zs {
namespace {

// The brute force: every figure straight from the stored fields.
class BruteForce {
 public:
  BruteForce(const HistoryIndex& index, const BoxViewRequest& request)
      : index_(index), request_(request) {
    const SearchRange range = ReadRangeBoxes(request.startBox, request.endBox);
    for (size_t d = 0; d < index.DrawCount(); ++d) {
      if (index.Issue(d) < range.start) begin_ = d + 1;
      if (index.Issue(d) >= range.start && index.Issue(d) <= range.end) end_ = d + 1;
    }
    if (end_ < begin_) end_ = begin_;
    for (int box = 0; box < ShownBoxCount(request.type); ++box) {
      std::vector<size_t>& before = hitBefore_.emplace_back();
      size_t h = 0;
      for (size_t d = 0; d < index.DrawCount(); ++d) {
        before.push_back(h);
        if (Hits(d, box)) h = d + 1;
      }
    }
  }

  size_t begin() const { return begin_; }
  size_t end() const { return end_; }

  bool Hits(size_t draw, int box) const {
    const SearchType type = request_.type;
    const int value = BoxValue(type, box + 1, request_.bases);
    if (!request_.freePositions) {
      const int p = request_.position;
      const int field = type == SearchType::kSum ? index_.Field(draw, SearchType::kTens, p) +
                                                       index_.Field(draw, SearchType::kUnits, p)
                                                 : index_.Field(draw, type, p);
      return field == value;
    }
    for (int p = 0; p < kPositions; ++p) {
      if (index_.Field(draw, type, p) == value) return true;
    }
    return false;
  }

  // Omissions of the box's hits among draws [from, to), the draw before
  // `from` counting as a hit.
  std::vector<int32_t> Omissions(int box, size_t from, size_t to, size_t* lastHit = nullptr) const {
    std::vector<int32_t> omissions;
    size_t previous = from;  // idx of the virtual hit
    for (size_t d = from; d < to; ++d) {
      if (!Hits(d, box)) continue;
      omissions.push_back(static_cast<int32_t>(d + 1 - previous));
      previous = d + 1;
    }
    if (lastHit) *lastHit = previous;
    return omissions;
  }

  // 出现次数, 最小, 最大, 最后, 平均, 欲出几率, 最大连出 over [from, to).
  std::vector<std::string> Figures(int box, size_t from, size_t to) const {
    size_t lastHit = 0;
    const std::vector<int32_t> omissions = Omissions(box, from, to, &lastHit);
    int32_t smallest = 32767, largest = 32767;
    int64_t sum = 0, run = 0, longest = 0;
    for (size_t i = 0; i < omissions.size(); ++i) {
      if (i == 0 || omissions[i] < smallest) smallest = omissions[i];
      if (i == 0 || omissions[i] > largest) largest = omissions[i];
      sum += omissions[i];
    }
    for (size_t d = from; d < to; ++d) {
      run = Hits(d, box) ? run + 1 : 0;
      longest = std::max(longest, run);
    }
    const int64_t last = static_cast<int64_t>(index_.DrawCount()) + 1 - lastHit;
    const double mean = omissions.empty() ? 0 : double(sum) / double(omissions.size());
    return {std::to_string(omissions.size()),
            std::to_string(smallest),
            std::to_string(largest),
            std::to_string(last),
            omissions.empty() ? "" : TwoDecimals(mean),
            omissions.empty() ? "" : TwoDecimals(double(last) / mean),
            std::to_string(longest)};
  }

  std::string TrendCell(size_t draw, int box) const {
    if (Hits(draw, box)) return BoxLabel(request_.type, box + 1, request_.bases);
    return std::to_string(draw + 1 - hitBefore_[size_t(box)][draw]);
  }

 private:
  const HistoryIndex& index_;
  BoxViewRequest request_;
  size_t begin_ = 0;
  size_t end_ = 0;
  std::vector<std::vector<size_t>> hitBefore_;  // [box][draw]: idx of the last earlier hit
};

void ExpectCells(const Grid& grid, size_t row, const std::vector<std::string>& cells) {
  ASSERT_LT(row, grid.RowCount());
  ASSERT_EQ(grid.ColumnCount(), cells.size());
  for (size_t c = 0; c < cells.size(); ++c) {
    EXPECT_EQ(grid.Cell(row, c), cells[c]) << "row " << row << " column " << c;
  }
}

class BoxViewsTest : public ::testing::TestWithParam<uint64_t> {
 protected:
  void SetUp() override {
    random_.seed(GetParam());
    bases_ = {static_cast<int>(GetParam() % 2), static_cast<int>(GetParam() / 2 % 2)};
    const int draws = 150 + Pick(0, 150);
    history_ = testing::MakeAnalysisHistory(testing::RandomDraws(GetParam(), draws, 0.2),
                                            testing::Rules(bases_.sxIni, bases_.dsIni));
  }

  int Pick(int from, int to) { return from + static_cast<int>(random_() % (to - from + 1)); }
  std::string Shown(size_t draw) const { return ShownIssue(history_.index.Issue(draw), false); }

  // The ranges every view is checked on.
  std::vector<std::pair<std::string, std::string>> Ranges() {
    const size_t n = history_.index.DrawCount();
    const size_t a = static_cast<size_t>(Pick(1, static_cast<int>(n) / 2));
    const size_t b = static_cast<size_t>(Pick(static_cast<int>(n) / 2, static_cast<int>(n) - 2));
    const int32_t notStored = history_.index.Issue(a) + 90 - history_.index.Issue(a) % 100;
    return {{Shown(0), Shown(n - 1)},
            {Shown(a), Shown(b)},
            {ShownIssue(notStored, false), Shown(n - 1)},
            {Shown(a), Shown(a)},
            {Shown(b), Shown(a)}};
  }

  std::mt19937_64 random_;
  PanelBases bases_;
  testing::AnalysisHistory history_;
};

TEST_P(BoxViewsTest, MatchBruteForce) {
  const HistoryIndex& index = history_.index;
  for (int t = 0; t < kSearchTypeCount; ++t) {
    for (bool free : {true, false}) {
      for (const auto& [from, to] : Ranges()) {
        BoxViewRequest request;
        request.type = static_cast<SearchType>(t);
        request.freePositions = free;
        request.position = Pick(0, kPositions - 1);
        request.bases = bases_;
        request.startBox = from;
        request.endBox = to;
        SCOPED_TRACE("type " + std::to_string(t) + (free ? " free " : " fixed ") + from + ".." +
                     to + " position " + std::to_string(request.position));
        const BoxView view(std::make_shared<const HistoryIndex>(index), request);
        const BruteForce brute(index, request);
        const size_t rows = brute.end() - brute.begin();
        ASSERT_EQ(view.RowCount(), rows);
        ASSERT_EQ(view.BoxCount(), ShownBoxCount(request.type));

        const Grid statistics = BoxStatisticsGrid(view);
        for (int box = 0; box < view.BoxCount(); ++box) {
          std::vector<std::string> expected = {BoxLabel(request.type, box + 1, bases_)};
          for (std::string& cell : brute.Figures(box, brute.begin(), brute.end())) {
            expected.push_back(std::move(cell));
          }
          ExpectCells(statistics, static_cast<size_t>(box), expected);
        }

        // The whole range, then a window inside it, and one running past its end.
        const size_t first = rows == 0 ? 0 : static_cast<size_t>(Pick(0, int(rows) - 1));
        const size_t count = static_cast<size_t>(Pick(1, 40));
        const std::vector<std::pair<size_t, size_t>> windows = {
            {0, rows}, {first, count}, {first, rows + 5}};
        for (const auto& [start, length] : windows) {
          const size_t shown = std::min(length, rows - start);
          const Grid trend = TrendGrid(view, start, length);
          ASSERT_EQ(trend.RowCount(), shown);
          for (size_t r = 0; r < shown; ++r) {
            const size_t draw = brute.begin() + start + r;
            std::vector<std::string> expected = {Shown(draw)};
            for (int box = 0; box < view.BoxCount(); ++box) {
              expected.push_back(brute.TrendCell(draw, box));
            }
            ExpectCells(trend, r, expected);
          }
          const Grid footer = TrendFooterGrid(view, start, length);
          ASSERT_EQ(footer.RowCount(), 4u);
          for (int box = 0; box < view.BoxCount(); ++box) {
            const size_t from = brute.begin() + start;
            const auto figures = brute.Figures(box, from, from + shown);
            const size_t c = static_cast<size_t>(box) + 1;
            EXPECT_EQ(footer.Cell(0, c), figures[0]);
            EXPECT_EQ(footer.Cell(1, c), figures[4]);
            EXPECT_EQ(footer.Cell(2, c), figures[2]);
            EXPECT_EQ(footer.Cell(3, c), figures[6]);
          }
        }

        const int box = Pick(0, view.BoxCount() - 1);
        std::map<int32_t, int64_t> expected;
        for (int32_t omission : brute.Omissions(box, brute.begin(), brute.end())) {
          ++expected[omission];
        }
        std::vector<OmissionCount> expectedCounts;
        for (const auto& [omission, hits] : expected) expectedCounts.push_back({omission, hits});
        EXPECT_EQ(OmissionDistribution(BoxHits(view, box).hits), expectedCounts);
      }
    }
  }
}

// A combination of the omission table is read back from its labels: the
// hits are the draws of the range carrying every one of its values.
TEST_P(BoxViewsTest, CombinationHitsMatchBruteForce) {
  const HistoryIndex& index = history_.index;
  for (int t = 0; t < kSearchTypeCount; ++t) {
    for (const auto& [from, to] : Ranges()) {
      BoxViewRequest request;
      request.type = static_cast<SearchType>(t);
      request.bases = bases_;
      request.startBox = from;
      request.endBox = to;
      const BruteForce brute(index, request);
      std::vector<int> boxes = {Pick(0, ShownBoxCount(request.type) - 1),
                                Pick(0, ShownBoxCount(request.type) - 1)};
      const std::string combination = BoxLabel(request.type, boxes[0] + 1, bases_) + " " +
                                      BoxLabel(request.type, boxes[1] + 1, bases_);
      SCOPED_TRACE("type " + std::to_string(t) + " " + combination + " " + from + ".." + to);
      std::vector<int64_t> expected;
      for (size_t d = brute.begin(); d < brute.end(); ++d) {
        if (brute.Hits(d, boxes[0]) && brute.Hits(d, boxes[1])) {
          expected.push_back(static_cast<int64_t>(d) + 1);
        }
      }
      const auto hits = CombinationHits(index, request.type, bases_, combination, from, to);
      ASSERT_TRUE(hits.has_value());
      std::vector<int64_t> actual;
      for (const Hit& hit : hits->hits) actual.push_back(hit.idx);
      EXPECT_EQ(actual, expected);
    }
  }
}

TEST(BoxViewsRefusals, BadInputs) {
  const auto history =
      testing::MakeAnalysisHistory(testing::RandomDraws(7, 30, 0), testing::Rules());
  const std::string first = ShownIssue(history.index.Issue(0), false);
  BoxViewRequest request;
  request.startBox = "abc";
  request.endBox = first;
  EXPECT_THROW(BoxView(std::make_shared<const HistoryIndex>(history.index), request), InputError);
  for (const char* combination : {"", "01 21", "鼠", "1"}) {
    EXPECT_FALSE(CombinationHits(history.index, SearchType::kNumber, {}, combination, first, first))
        << combination;
  }
}

// Sorting a statistics column: numbers by value (not by text), other texts
// after them, empty cells last either way, ties in their former order.
TEST(GridSort, NumbersByValueEmptyLast) {
  Grid grid({"值", "平均遗漏"});
  for (const auto& [label, cell] : std::vector<std::pair<std::string, std::string>>{
           {"a", "10.50"}, {"b", ""}, {"c", "9.25"}, {"d", "x"}, {"e", "10.50"}, {"f", "-1"}}) {
    grid.AddRow({label, cell});
  }
  const struct {
    bool descending;
    std::string order;
  } cases[] = {{false, "fcaedb"}, {true, "daecfb"}};
  for (const auto& c : cases) {
    const Grid sorted = SortedByColumn(grid, 1, c.descending);
    std::string order;
    for (size_t row = 0; row < sorted.RowCount(); ++row) order += sorted.Cell(row, 0);
    EXPECT_EQ(order, c.order) << c.descending;
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, BoxViewsTest, ::testing::Range<uint64_t>(1, 5));

}  // namespace
}  // namespace zs
