// The analyses on a generated 500,000-draw history: position search (every
// type and mode, eight positions), partial search (k = 3), group calculation
// (numbers, size 5 over 18 boxes, 8568 combinations, writing YL into a
// database file) and the index build with its memory. Beside them, on 30,000
// draws, the same group calculation and a position search through the
// literal counting scheme in SQLite; compare the per-combination counters.
//
// The searches include what the window then shows: the hit grid's first
// rows formatted. Each iteration builds its results in fresh memory, as the first search of
// a process does (and every run of the command-line tool). With
// --window_memory the process first keeps freed memory for reuse as the
// window does, which gives the figures of the window's repeated searches.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/group_calculation.h"
#include "analysis/history_index.h"
#include "analysis/partial_search.h"
#include "analysis/position_search.h"
#include "analysis/search_range.h"
#include "bench/generated_history.h"
#include "core/derivation.h"
#include "core/platform.h"
#include "frontend/memory_reuse.h"
#include "store/history_store.h"
#include "tests/support/counting_oracle.h"

namespace zs {
namespace {

constexpr int64_t kLargeDraws = 500000;
constexpr int64_t kSmallDraws = 30000;
constexpr int kGroupSize = 5;
constexpr int kGroupBoxes = 18;
// Boxes of the reduced run through SQL: C(7, 5) = 21 combinations.
constexpr int kSqlGroupBoxes = 7;
constexpr int kSqlCombinations = 21;

std::vector<HistoryRow> DerivedRows(const std::vector<Draw>& draws) {
  std::vector<HistoryRow> rows;
  rows.reserve(draws.size());
  for (const Draw& draw : draws) rows.push_back(DeriveRow(draw, BenchRules()));
  for (size_t i = 0; i < rows.size(); ++i) rows[i].idx = static_cast<int32_t>(i + 1);
  return rows;
}

// A history of `count` draws: its rows, its index, and a database file in a
// temporary folder that holds it (for YL and the counting scheme), removed
// at exit.
class BenchHistory {
 public:
  explicit BenchHistory(int64_t count) : BenchHistory(GeneratedDraws(count)) {}
  const std::vector<HistoryRow>& rows() const { return rows_; }
  const HistoryIndex& index() const { return index_; }
  HistoryStore& store() { return *store_; }
  std::string Box(size_t draw) const { return std::to_string(2000000000 + index_.Issue(draw)); }
  std::string FirstBox() const { return Box(0); }
  std::string LastBox() const { return Box(index_.DrawCount() - 1); }

 private:
  explicit BenchHistory(const std::vector<Draw>& draws) : rows_(DerivedRows(draws)), index_(rows_) {
    store_ = HistoryStore::OpenFolder(folder_.path());
    store_->ReplaceAllDraws(draws, BenchRules());
  }

  std::vector<HistoryRow> rows_;
  HistoryIndex index_;
  BenchFolder folder_;  // outlives the store, which closes its file first
  std::unique_ptr<HistoryStore> store_;
};

// Destroyed at exit, which removes its temporary folder.
BenchHistory& Large() {
  static BenchHistory history(kLargeDraws);
  return history;
}

BenchHistory& Small() {
  static BenchHistory history(kSmallDraws);
  return history;
}

// The pattern of a draw in the middle of the history, as "历史指定期" takes it.
SearchPattern MiddlePattern(const BenchHistory& history, SearchType type, bool free) {
  SearchPattern pattern;
  pattern.type = type;
  pattern.freePositions = free;
  const size_t draw = history.index().DrawCount() / 2;
  for (int p = 0; p < kPositions; ++p) {
    pattern.values[p] = type == SearchType::kSum
                            ? history.index().Field(draw, SearchType::kTens, p) +
                                  history.index().Field(draw, SearchType::kUnits, p)
                            : history.index().Field(draw, type, p);
    pattern.boxTexts[p] = std::to_string(pattern.values[p]);
  }
  return pattern;
}

GroupRequest NumberGroups(const BenchHistory& history, int boxes) {
  GroupRequest request;
  request.type = SearchType::kNumber;
  request.groupSize = kGroupSize;
  for (int box = 1; box <= boxes; ++box) request.checkedBoxes.push_back(box);
  request.startBox = history.FirstBox();
  request.endBox = history.LastBox();
  return request;
}

// The rows a window shows of a grid (a screenful and more), formatted as
// its view reads them; returns their bytes.
size_t ShownRowsBytes(const GridSource& grid) {
  constexpr size_t kShownRows = 50;
  std::string scratch;
  size_t bytes = 0;
  for (size_t row = 0; row < std::min(kShownRows, grid.RowCount()); ++row) {
    for (size_t column = 0; column < grid.ColumnCount(); ++column) {
      bytes += grid.CellText(row, column, scratch).size();
    }
  }
  return bytes;
}

void BM_IndexBuild(benchmark::State& state) {
  const std::vector<HistoryRow>& rows = Large().rows();
  size_t bytes = 0;
  for (auto _ : state) {
    HistoryIndex index(rows);
    bytes = index.MemoryBytes();
    benchmark::DoNotOptimize(bytes);
  }
  state.counters["draws"] = static_cast<double>(rows.size());
  state.counters["index_MB"] = static_cast<double>(bytes) / (1024.0 * 1024.0);
}
BENCHMARK(BM_IndexBuild)->Unit(benchmark::kMillisecond);

// Runs a search over the whole large history for the pattern of the middle
// draw, of the type and mode the args give: search type, free (1) or fixed
// (0); `request` holds the rest.
template <typename Request>
void MeasureSearch(benchmark::State& state, Request request,
                   SearchResult (*run)(const HistoryIndex&, const Request&)) {
  BenchHistory& history = Large();
  request.pattern =
      MiddlePattern(history, static_cast<SearchType>(state.range(0)), state.range(1) != 0);
  request.startBox = history.FirstBox();
  request.endBox = history.LastBox();
  size_t hits = 0;
  for (auto _ : state) {
    const SearchResult result = run(history.index(), request);
    hits = result.hits->hits.size();
    benchmark::DoNotOptimize(ShownRowsBytes(*result.hitGrid));
  }
  state.counters["hits"] = static_cast<double>(hits);
}

// Every position chosen.
void BM_PositionSearch(benchmark::State& state) {
  PositionSearchRequest request;
  request.chosen.fill(true);
  MeasureSearch(state, request, RunPositionSearch);
}
BENCHMARK(BM_PositionSearch)
    ->ArgsProduct({{0, 1, 2, 3, 4, 5}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

// k = 3.
void BM_PartialSearch(benchmark::State& state) {
  PartialSearchRequest request;
  request.partSize = 3;
  request.partSizeText = std::to_string(request.partSize);
  MeasureSearch(state, request, RunPartialSearch);
}
BENCHMARK(BM_PartialSearch)
    ->ArgsProduct({{0, 1, 2, 3, 4, 5}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

// The group calculation's runs: arg 0 on the 500,000 draws, 1 on the 30,000,
// timed by the wall clock since the calculation runs on two threads (the CPU
// column counts both).
void OnBothHistoriesByWallClock(benchmark::internal::Benchmark* bench) {
  bench->Arg(0)->Arg(1)->UseRealTime()->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);
}

// Writes YL into the database file.
void BM_GroupCalculation(benchmark::State& state) {
  BenchHistory& history = state.range(0) == 0 ? Large() : Small();
  const GroupRequest request = NumberGroups(history, kGroupBoxes);
  size_t rows = 0;
  for (auto _ : state) {
    rows = RunGroupCalculation(history.index(), request, history.store()).size();
  }
  state.counters["draws"] = static_cast<double>(history.index().DrawCount());
  state.counters["combinations"] = static_cast<double>(rows);
  state.counters["per_combination"] =
      benchmark::Counter(static_cast<double>(rows), benchmark::Counter::kIsIterationInvariantRate |
                                                        benchmark::Counter::kInvert);
}
BENCHMARK(BM_GroupCalculation)->Apply(OnBothHistoriesByWallClock);

// The same calculation without writing YL: what remains is the durable
// commit (several disk syncs) and the rows' insert.
void BM_GroupRows(benchmark::State& state) {
  BenchHistory& history = state.range(0) == 0 ? Large() : Small();
  const GroupRequest request = NumberGroups(history, kGroupBoxes);
  for (auto _ : state) benchmark::DoNotOptimize(ComputeGroupRows(history.index(), request));
}
BENCHMARK(BM_GroupRows)->Apply(OnBothHistoriesByWallClock);

// The group calculation through the counting scheme in SQL on 30,000 draws,
// reduced to 21 combinations (size 5 over 7 boxes).
void BM_GroupCalculationSqlScheme(benchmark::State& state) {
  BenchHistory& history = Small();
  testing::CountingOracle oracle(history.store().db());
  const SearchRange range = ReadRangeBoxes(history.FirstBox(), history.LastBox());
  std::array<bool, 20> checked{};
  for (int box = 1; box <= kSqlGroupBoxes; ++box) checked[box - 1] = true;
  for (auto _ : state) {
    const auto rows = oracle.GroupCalculation(SearchType::kNumber, checked, kGroupSize, {},
                                              range.start, range.end);
    benchmark::DoNotOptimize(rows);
  }
  state.counters["draws"] = static_cast<double>(history.index().DrawCount());
  state.counters["combinations"] = kSqlCombinations;
  state.counters["per_combination"] =
      benchmark::Counter(kSqlCombinations, benchmark::Counter::kIsIterationInvariantRate |
                                               benchmark::Counter::kInvert);
}
BENCHMARK(BM_GroupCalculationSqlScheme)->Unit(benchmark::kMillisecond);

// Position search, numbers, free, eight positions, on 30,000 draws: the index
// against the counting scheme in SQL.
void BM_PositionSearchSmall(benchmark::State& state) {
  BenchHistory& history = Small();
  PositionSearchRequest request;
  request.pattern = MiddlePattern(history, SearchType::kNumber, true);
  request.chosen.fill(true);
  request.startBox = history.FirstBox();
  request.endBox = history.LastBox();
  for (auto _ : state) benchmark::DoNotOptimize(RunPositionSearch(history.index(), request));
}
BENCHMARK(BM_PositionSearchSmall)->Unit(benchmark::kMillisecond);

void BM_PositionSearchSmallSqlScheme(benchmark::State& state) {
  BenchHistory& history = Small();
  testing::CountingOracle oracle(history.store().db());
  const SearchPattern pattern = MiddlePattern(history, SearchType::kNumber, true);
  PositionChoice chosen;
  chosen.fill(true);
  const SearchRange range = ReadRangeBoxes(history.FirstBox(), history.LastBox());
  for (auto _ : state) {
    benchmark::DoNotOptimize(oracle.PositionSearch(pattern, chosen, range.start, range.end));
  }
}
BENCHMARK(BM_PositionSearchSmallSqlScheme)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zs

int main(int argc, char** argv) {
  const std::string_view windowMemory = "--window_memory";
  bool reuseMemory = false;
  for (int i = 1; i < argc; ++i) {
    if (argv[i] == windowMemory) {
      if (!zs::RetainFreedMemoryForReuse()) return 1;
      reuseMemory = true;
      std::rotate(argv + i, argv + i + 1, argv + argc);
      --argc;
      break;
    }
  }
  // glibc's own limits, held fixed: by default it raises the size of blocks
  // it maps after the first one is freed, and later iterations would then
  // reuse the heap instead of starting in fresh memory.
  constexpr int kGlibcMappedBlock = 128 << 10;
  if (!reuseMemory && !zs::platform::TuneAllocator(kGlibcMappedBlock, kGlibcMappedBlock)) return 1;
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
