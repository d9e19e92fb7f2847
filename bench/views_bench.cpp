// The per-box views on a generated 500,000-draw history: the statistics of
// the shown boxes of every type (free and fixed) and of every draw pattern
// (the view's sets built in the timing), 100 trend rows at the start, the
// middle and the end of the history (and at the end for every pattern), and the block of rows the
// trend tab computes when it scrolls to a new place (256 rows, more than a
// screenful), with the footer of the whole range. Baselines of the same run:
// the statistics read straight from the stored fields, draw by draw, and the
// 100 rows cut from the trend grid of the whole history.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "analysis/box_statistics.h"
#include "analysis/box_view.h"
#include "analysis/history_index.h"
#include "analysis/pattern_types.h"
#include "analysis/trend_grid.h"
#include "core/derivation.h"
#include "tools/history_generator.h"

namespace zs {
namespace {

constexpr int64_t kDraws = 500000;
constexpr size_t kTrendRows = 100;
constexpr size_t kBlockRows = 256;  // the trend tab's block (TrendModel::kBlockRows)

const HistoryIndex& Index() {
  static const HistoryIndex* index = [] {
    std::vector<Draw> draws = GenerateHistory(OptionsForDrawCount(kDraws, {2026, 12, 8}, 84, 1));
    if (static_cast<int64_t>(draws.size()) > kDraws)
      draws.erase(draws.begin(), draws.end() - kDraws);
    DerivationRules rules;
    rules.issueRule = IssueRule{84, false};
    std::vector<HistoryRow> rows;
    rows.reserve(draws.size());
    for (const Draw& draw : draws) rows.push_back(DeriveRow(draw, rules));
    return new HistoryIndex(rows);
  }();
  return *index;
}

// The index as a view shares it (a copy of an index shares its draws and sets).
const std::shared_ptr<const HistoryIndex>& SharedIndex() {
  static const auto shared = std::make_shared<const HistoryIndex>(Index());
  return shared;
}

BoxViewRequest WholeHistory(SearchType type, bool free) {
  const HistoryIndex& index = Index();
  BoxViewRequest request;
  request.type = type;
  request.freePositions = free;
  request.position = 3;
  request.startBox = std::to_string(2000000000 + index.Issue(0));
  request.endBox = std::to_string(2000000000 + index.Issue(index.DrawCount() - 1));
  return request;
}

// Args: search type, free (1) or fixed (0).
void BM_Statistics(benchmark::State& state) {
  const BoxViewRequest request =
      WholeHistory(static_cast<SearchType>(state.range(0)), state.range(1) != 0);
  for (auto _ : state) {
    Grid grid = BoxStatisticsGrid(BoxView(SharedIndex(), request));
    benchmark::DoNotOptimize(grid);
  }
}
BENCHMARK(BM_Statistics)->ArgsProduct({{0, 1, 2, 3, 4, 5}, {1, 0}})->Unit(benchmark::kMillisecond);

// Arg: the draw pattern. The view sorts every draw into the pattern's boxes
// first, inside the timing, as a change of type in the window does.
void BM_PatternStatistics(benchmark::State& state) {
  BoxViewRequest request = WholeHistory(SearchType::kNumber, true);
  request.pattern = static_cast<PatternType>(state.range(0));
  for (auto _ : state) {
    Grid grid = BoxStatisticsGrid(BoxView(SharedIndex(), request));
    benchmark::DoNotOptimize(grid);
  }
}
BENCHMARK(BM_PatternStatistics)
    ->DenseRange(0, kPatternTypeCount - 1)
    ->Unit(benchmark::kMillisecond);

// Arg: the draw pattern; the newest 100 rows of a view already made.
void BM_PatternTrendRows(benchmark::State& state) {
  BoxViewRequest request = WholeHistory(SearchType::kNumber, true);
  request.pattern = static_cast<PatternType>(state.range(0));
  const BoxView view(SharedIndex(), request);
  for (auto _ : state) {
    Grid grid = TrendGrid(view, view.RowCount() - kTrendRows, kTrendRows);
    benchmark::DoNotOptimize(grid);
  }
}
BENCHMARK(BM_PatternTrendRows)->DenseRange(0, kPatternTypeCount - 1)->Unit(benchmark::kMillisecond);

// Baseline: the 20 numbers' hit counts and omissions (free mode) read from
// the stored fields draw by draw, without the index's sets.
void BM_StatisticsFromFields(benchmark::State& state) {
  const HistoryIndex& index = Index();
  for (auto _ : state) {
    std::vector<int64_t> hits(21), previous(21), largest(21), sum(21);
    for (size_t draw = 0; draw < index.DrawCount(); ++draw) {
      for (int p = 0; p < kPositions; ++p) {
        const int value = index.Field(draw, SearchType::kNumber, p);
        if (value < 1 || value > 20 || previous[value] == int64_t(draw) + 1) continue;
        const int64_t omission = int64_t(draw) + 1 - previous[value];
        ++hits[value];
        sum[value] += omission;
        largest[value] = std::max(largest[value], omission);
        previous[value] = int64_t(draw) + 1;
      }
    }
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_StatisticsFromFields)->Unit(benchmark::kMillisecond);

// Arg: where the rows start, in per mille of the history.
void BM_TrendRows(benchmark::State& state) {
  const BoxView view(SharedIndex(), WholeHistory(SearchType::kNumber, true));
  const size_t first = (view.RowCount() - kTrendRows) * size_t(state.range(0)) / 1000;
  for (auto _ : state) {
    Grid grid = TrendGrid(view, first, kTrendRows);
    benchmark::DoNotOptimize(grid);
  }
}
BENCHMARK(BM_TrendRows)->Arg(0)->Arg(500)->Arg(1000)->Unit(benchmark::kMillisecond);

// Args: search type, free (1) or fixed (0): a rare box far back costs the
// longest look for its previous hit.
void BM_TrendBlock(benchmark::State& state) {
  const BoxView view(SharedIndex(),
                     WholeHistory(static_cast<SearchType>(state.range(0)), state.range(1)));
  size_t first = 0;
  for (auto _ : state) {
    Grid grid = TrendGrid(view, first, kBlockRows);
    benchmark::DoNotOptimize(grid);
    first = (first + 7919 * kBlockRows) % (view.RowCount() - kBlockRows);
  }
}
BENCHMARK(BM_TrendBlock)->Args({0, 1})->Args({2, 0})->Args({4, 0})->Unit(benchmark::kMillisecond);

// The footer of the whole range, computed once per refresh of the window.
void BM_TrendFooter(benchmark::State& state) {
  const BoxView view(SharedIndex(), WholeHistory(SearchType::kNumber, true));
  for (auto _ : state) {
    Grid grid = TrendFooterGrid(view, 0, view.RowCount());
    benchmark::DoNotOptimize(grid);
  }
}
BENCHMARK(BM_TrendFooter)->Unit(benchmark::kMillisecond);

// Baseline: the whole trend grid, then 100 rows of it.
void BM_TrendRowsFromWholeGrid(benchmark::State& state) {
  const BoxView view(SharedIndex(), WholeHistory(SearchType::kNumber, true));
  for (auto _ : state) {
    Grid grid = TrendGrid(view);
    benchmark::DoNotOptimize(grid.Cell(view.RowCount() / 2, 1));
  }
}
BENCHMARK(BM_TrendRowsFromWholeGrid)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zs

BENCHMARK_MAIN();
