// The deletes from the end of a 500,000-draw history as a player runs them
// from the command line: the whole `zephyrstat-cli delete-last` (one draw)
// and `delete-last 10` process, lsbf.txt written included, each on a fresh
// copy of the data folder. Target: 0.4 s each. With ZS_BASELINE_CLI naming
// another build's zephyrstat-cli, the same runs of that build are timed
// beside them.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/generated_history.h"
#include "core/settings.h"

extern char** environ;

namespace zs {
namespace {

constexpr int64_t kDraws = 500000;

// The imported history, and a settings folder of its own so the programs run
// with the default settings the history was imported under.
struct GeneratedHistory {
  GeneratedHistory() {
    const std::filesystem::path history = folder.path() / "history";
    std::filesystem::create_directory(history);
    ImportGeneratedDrawsInChild(history, kDraws, Date{2026, 12, 8}, 1, Settings{});
    std::filesystem::remove(history / "history.txt");
    setenv("XDG_CONFIG_HOME", (folder.path() / "config").c_str(), 1);
  }
  BenchFolder folder;
};

const std::filesystem::path& Root() {
  static const GeneratedHistory history;
  return history.folder.path();
}

// Runs `program` and waits for it; false unless it exited with 0. Adds the
// processor time it took to `cpuSeconds`: on a loaded machine the wall time
// is mostly waiting for a processor.
bool RunToEnd(const std::vector<std::string>& arguments, double& cpuSeconds) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t child = 0;
  const int error = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  int status = 0;
  rusage usage{};
  if (error != 0 || wait4(child, &status, 0, &usage) != child) return false;
  for (const timeval& time : {usage.ru_utime, usage.ru_stime}) {
    cpuSeconds += static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) * 1e-6;
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void BM_DeleteLast(benchmark::State& state, const std::string& program,
                   const std::vector<std::string>& count) {
  const std::filesystem::path work = Root() / "work";
  double cpuSeconds = 0;
  for (auto _ : state) {
    std::filesystem::remove_all(work);
    std::filesystem::copy(Root() / "history", work);
    std::vector<std::string> arguments = {program, "--dir", work.string(), "delete-last"};
    arguments.insert(arguments.end(), count.begin(), count.end());
    const auto start = std::chrono::steady_clock::now();
    const bool done = RunToEnd(arguments, cpuSeconds);
    state.SetIterationTime(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    if (!done || !std::filesystem::exists(work / "tessera.mdb")) {
      state.SkipWithError("the delete failed");
      break;
    }
  }
  state.counters["cli_cpu_ms"] = 1000 * cpuSeconds / static_cast<double>(state.iterations());
  std::filesystem::remove_all(work);
}

void Register(const std::string& build, const std::string& program, int iterations) {
  benchmark::RegisterBenchmark(("BM_DeleteLast/" + build + "/one").c_str(), BM_DeleteLast, program,
                               std::vector<std::string>{})
      ->UseManualTime()
      ->Unit(benchmark::kMillisecond)
      ->Iterations(iterations);
  benchmark::RegisterBenchmark(("BM_DeleteLast/" + build + "/ten").c_str(), BM_DeleteLast, program,
                               std::vector<std::string>{"10"})
      ->UseManualTime()
      ->Unit(benchmark::kMillisecond)
      ->Iterations(iterations);
}

}  // namespace
}  // namespace zs

int main(int argc, char** argv) {
  zs::Register("this", ZS_CLI_PATH, 5);
  if (const char* baseline = std::getenv("ZS_BASELINE_CLI")) zs::Register("baseline", baseline, 3);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
