// The data work behind `zephyrstat-cli list` and `next` on a 500,000-draw
// history (about 16 years of one edition): opening the history file, reading
// the draws, building the history grid and its text; opening the file and
// reading the last row. Target: under 1 s each. Beside them, what the window
// does when it opens the history: the analysis index built from the file.
#include <benchmark/benchmark.h>
#include <filesystem>
#include <memory>
#include <string>

#include "analysis/history_grid.h"
#include "analysis/history_index.h"
#include "bench/generated_history.h"
#include "cli/grid_text.h"
#include "core/derivation.h"
#include "core/issue_number.h"
#include "core/settings.h"
#include "store/history_store.h"

namespace zs {
namespace {

constexpr int64_t kDraws = 500000;

Settings GuangdongSettings() {
  Settings settings;
  settings.gsZl = 0;
  return settings;
}

// A data folder holding the imported history, built once for all benchmarks
// and removed at exit.
struct GeneratedHistory {
  GeneratedHistory() {
    ImportDraws(folder.path(),
                GeneratedDraws(kDraws, Date{2024, 12, 31},
                               IssueRule::From(GuangdongSettings()).drawsPerDay, 7),
                GuangdongSettings());
  }
  BenchFolder folder;
};

const std::filesystem::path& HistoryFolder() {
  static const GeneratedHistory history;
  return history.folder.path();
}

void BM_ListHistory(benchmark::State& state) {
  const std::filesystem::path& folder = HistoryFolder();
  const bool threeDigit = IssueRule::From(GuangdongSettings()).threeDigit;
  for (auto _ : state) {
    const HistoryGrid grid(
        std::make_shared<const PackedHistory>(HistoryStore::OpenFolder(folder)->LoadPacked()),
        threeDigit);
    std::string text;
    AppendGridText(grid, text);
    benchmark::DoNotOptimize(text.data());
    state.counters["rows"] = static_cast<double>(grid.RowCount());
  }
}
BENCHMARK(BM_ListHistory)->Unit(benchmark::kMillisecond);

void BM_NextIssue(benchmark::State& state) {
  const std::filesystem::path& folder = HistoryFolder();
  const IssueRule rule = IssueRule::From(GuangdongSettings());
  for (auto _ : state) {
    const std::optional<HistoryRow> last = HistoryStore::OpenFolder(folder)->Last();
    std::string next = ShownIssue(FollowingIssue(last->issue, rule), rule.threeDigit);
    benchmark::DoNotOptimize(next.data());
  }
}
BENCHMARK(BM_NextIssue)->Unit(benchmark::kMillisecond);

void BM_OpenHistoryIndex(benchmark::State& state) {
  const std::filesystem::path& folder = HistoryFolder();
  for (auto _ : state) {
    const HistoryIndex index(*HistoryStore::OpenFolder(folder));
    state.counters["draws"] = static_cast<double>(index.DrawCount());
    state.counters["index_MB"] = static_cast<double>(index.MemoryBytes()) / (1024.0 * 1024.0);
  }
}
BENCHMARK(BM_OpenHistoryIndex)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zs

BENCHMARK_MAIN();
