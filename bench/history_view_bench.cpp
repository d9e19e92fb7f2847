// The data work behind `zephyrstat-cli list` and `next` on a 500,000-draw
// history (about 16 years of one edition): opening the history file, reading
// the draws, building the history grid and its text; opening the file and
// reading the last row. Target: under 1 s each. Beside them, what the window
// does when it opens the history: the analysis index built from the file,
// repeated in one process and once in a fresh process as a started program.
#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

#include "analysis/history_grid.h"
#include "analysis/history_index.h"
#include "bench/generated_history.h"
#include "core/derivation.h"
#include "core/issue_number.h"
#include "core/settings.h"
#include "export/grid_text.h"
#include "frontend/memory_reuse.h"
#include "store/history_store.h"

namespace zs {
namespace {

constexpr int64_t kDraws = 500000;

Settings GuangdongSettings() {
  Settings settings;
  settings.edition = EditionChoice::Of(0);
  return settings;
}

// A data folder holding the imported history, built once for all benchmarks
// and removed at exit.
struct GeneratedHistory {
  GeneratedHistory() {
    ImportGeneratedDrawsInChild(folder.path(), kDraws, Date{2024, 12, 31}, 7, GuangdongSettings());
  }
  BenchFolder folder;
};

const std::filesystem::path& HistoryFolder() {
  static const GeneratedHistory history;
  return history.folder.path();
}

// The same as a started program opens it: once, in a process forked for the
// run (fresh memory, no pages left over from earlier runs), with the heap set
// up as the window and the command-line tool set it at start. Registered
// first, so the process it forks from has run nothing yet. The time is the
// child's, from the heap set-up to the index ready.
void BM_OpenHistoryIndexInFreshProcess(benchmark::State& state) {
  const std::filesystem::path& folder = HistoryFolder();
  for (auto _ : state) {
    int channel[2];
    if (pipe(channel) != 0) state.SkipWithError("pipe");
    const pid_t child = fork();
    if (child == 0) {
      const auto start = std::chrono::steady_clock::now();
      RetainFreedMemoryForReuse();
      const HistoryIndex index(*HistoryStore::OpenFolder(folder));
      const double seconds =
          std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      const bool whole = index.DrawCount() == kDraws;
      _exit(whole && write(channel[1], &seconds, sizeof seconds) == sizeof seconds ? 0 : 1);
    }
    double seconds = 0;
    const bool reported = read(channel[0], &seconds, sizeof seconds) == sizeof seconds;
    int status = 0;
    waitpid(child, &status, 0);
    close(channel[0]);
    close(channel[1]);
    if (!reported || status != 0) state.SkipWithError("the index did not open");
    state.SetIterationTime(seconds);
  }
}
BENCHMARK(BM_OpenHistoryIndexInFreshProcess)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

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
