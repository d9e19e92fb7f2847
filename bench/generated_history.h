// The generated histories the benchmarks share: draws of an edition up to a
// given day (by default the last draws up to the 2026-12-08 of an edition
// with 84 draws a day, seed 1), the rules they are derived under, and a
// temporary data folder to import them into.
#ifndef ZEPHYRSTAT_BENCH_GENERATED_HISTORY_H_
#define ZEPHYRSTAT_BENCH_GENERATED_HISTORY_H_

#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "core/derivation.h"
#include "core/draw.h"
#include "core/errors.h"
#include "core/issue_number.h"
#include "core/settings.h"
#include "history/import.h"
#include "store/history_store.h"
#include "tools/history_generator.h"

namespace zs {

inline DerivationRules BenchRules() {
  DerivationRules rules;
  rules.issueRule = IssueRule{84, false};
  return rules;
}

// Exactly `count` draws up to `lastDay`'s last draw, the newest last.
inline std::vector<Draw> GeneratedDraws(int64_t count, const Date& lastDay, int drawsPerDay,
                                        uint64_t seed) {
  std::vector<Draw> draws = GenerateHistory(OptionsForDrawCount(count, lastDay, drawsPerDay, seed));
  if (static_cast<int64_t>(draws.size()) > count) draws.erase(draws.begin(), draws.end() - count);
  return draws;
}

inline std::vector<Draw> GeneratedDraws(int64_t count) {
  return GeneratedDraws(count, Date{2026, 12, 8}, 84, 1);
}

// A fresh folder under the system's temporary folder, removed with all it
// holds when this object goes.
class BenchFolder {
 public:
  BenchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zs-bench-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  ~BenchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  BenchFolder(const BenchFolder&) = delete;
  BenchFolder& operator=(const BenchFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Makes `folder` a data folder holding `draws`: writes them as a history
// text file there and imports it under `settings`, as a player would.
inline void ImportDraws(const std::filesystem::path& folder, const std::vector<Draw>& draws,
                        const Settings& settings) {
  const std::filesystem::path file = folder / "history.txt";
  std::ofstream(file, std::ios::binary)
      << HistoryFileText(draws, IssueRule::From(settings).threeDigit);
  ImportHistoryFile(*HistoryStore::OpenFolder(folder), file, DerivationRules::From(settings));
}

// ImportDraws of `count` generated draws up to `lastDay` (seed `seed`), done
// in a child process, so the benchmark's own process stays small: the runs
// that fork from it start as a started program does, and those that run in
// it find no heap left grown by the import. `firstIssue`, when not 0,
// replaces the oldest draw's issue.
inline void ImportGeneratedDrawsInChild(const std::filesystem::path& folder, int64_t count,
                                        const Date& lastDay, uint64_t seed,
                                        const Settings& settings, int32_t firstIssue = 0) {
  const pid_t child = fork();
  if (child == 0) {
    std::vector<Draw> draws =
        GeneratedDraws(count, lastDay, IssueRule::From(settings).drawsPerDay, seed);
    if (firstIssue != 0) draws.front().issue = firstIssue;
    ImportDraws(folder, draws, settings);
    _exit(0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    throw StoreError("the benchmark history could not be imported");
  }
}

}  // namespace zs

#endif  // ZEPHYRSTAT_BENCH_GENERATED_HISTORY_H_
