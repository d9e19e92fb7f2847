// The generated history the benchmarks share: the last draws up to the
// 2026-12-08 of an edition with 84 draws a day (seed 1), and the rules they
// are derived under.
#ifndef ZEPHYRSTAT_BENCH_GENERATED_HISTORY_H_
#define ZEPHYRSTAT_BENCH_GENERATED_HISTORY_H_

#include <cstdint>
#include <vector>

#include "core/derivation.h"
#include "core/draw.h"
#include "tools/history_generator.h"

namespace zs {

inline DerivationRules BenchRules() {
  DerivationRules rules;
  rules.issueRule = IssueRule{84, false};
  return rules;
}

// Exactly `count` draws, the newest last.
inline std::vector<Draw> GeneratedDraws(int64_t count) {
  std::vector<Draw> draws = GenerateHistory(OptionsForDrawCount(count, Date{2026, 12, 8}, 84, 1));
  if (static_cast<int64_t>(draws.size()) > count) draws.erase(draws.begin(), draws.end() - count);
  return draws;
}

}  // namespace zs

#endif  // ZEPHYRSTAT_BENCH_GENERATED_HISTORY_H_
