// The window's start on a generated 500,000-draw history: the window built,
// the history opened, the analysis index ready, the history grid filled and
// the window shown (offscreen). Each run happens in a process forked for it,
// so it starts in fresh memory as a started program does (only loading the
// libraries is left out); the time is the child's whole life, beside it its
// CPU time (user and system; wall time stretches when other work shares the
// cores) and its peak resident set.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <chrono>
#include <filesystem>
#include <string>

#include "app/dialogs.h"
#include "app/main_window.h"
#include "bench/generated_history.h"
#include "core/derivation.h"
#include "core/issue_number.h"
#include "core/settings.h"
#include "frontend/memory_reuse.h"
#include "store/history_store.h"

namespace zs {
namespace {

constexpr int64_t kDraws = 500000;

// A data folder holding the imported history under the default settings
// (which the window reads from an empty settings folder), removed at exit.
class GeneratedHistory {
 public:
  GeneratedHistory() {
    setenv("XDG_CONFIG_HOME", (folder_.path() / "config").c_str(), 1);
    ImportGeneratedDrawsInChild(folder_.path(), kDraws, Date{2026, 12, 8}, 7, Settings());
  }
  const std::filesystem::path& folder() const { return folder_.path(); }

 private:
  BenchFolder folder_;
};

// What the program does from main() until the window is on screen; returns
// the peak resident set in kilobytes.
long StartWindow(const std::filesystem::path& folder) {
  RetainFreedMemoryForReuse();
  int argc = 1;
  char name[] = "zephyrstat";
  char* argv[] = {name, nullptr};
  QApplication application(argc, argv);
  MainWindow window(folder, MakeWidgetDialogs());
  window.show();
  QCoreApplication::processEvents();
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

void BM_WindowStart(benchmark::State& state) {
  static const GeneratedHistory history;
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  double peakMegabytes = 0;
  double cpuSeconds = 0;
  for (auto _ : state) {
    int channel[2];
    if (pipe(channel) != 0) state.SkipWithError("pipe");
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
      const long peak = StartWindow(history.folder());
      _exit(write(channel[1], &peak, sizeof peak) == sizeof peak ? 0 : 1);
    }
    long peak = 0;
    const bool reported = read(channel[0], &peak, sizeof peak) == sizeof peak;
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    cpuSeconds += static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                  static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    state.SetIterationTime(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    close(channel[0]);
    close(channel[1]);
    if (!reported || status != 0) state.SkipWithError("the window did not start");
    peakMegabytes = static_cast<double>(peak) / 1024.0;
  }
  state.counters["draws"] = kDraws;
  state.counters["cpu_ms"] = cpuSeconds * 1000.0 / static_cast<double>(state.iterations());
  state.counters["peak_rss_MB"] = peakMegabytes;
}
BENCHMARK(BM_WindowStart)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
}  // namespace zs

BENCHMARK_MAIN();
