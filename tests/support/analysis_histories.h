// Histories for the analysis tests and benchmarks: random draws (optionally
// with repeated numbers inside a draw, which the import lets through), their
// derived rows, and a history store plus index holding them; and the check
// that two watch books over them agree.
#ifndef ZEPHYRSTAT_TESTS_SUPPORT_ANALYSIS_HISTORIES_H_
#define ZEPHYRSTAT_TESTS_SUPPORT_ANALYSIS_HISTORIES_H_

#include <cstdint>
#include <memory>
#include <vector>

#include "analysis/history_index.h"
#include "analysis/watch_book.h"
#include "core/derivation.h"
#include "core/draw.h"
#include "store/history_store.h"

namespace zs::testing {

// `count` draws on consecutive issues from 14010101 on (84 a day, two-digit
// rule), numbers 1..20; with `repeatRate` > 0 that share of draws repeats
// some of its numbers.
std::vector<Draw> RandomDraws(uint64_t seed, int count, double repeatRate);

std::vector<HistoryRow> DeriveRows(const std::vector<Draw>& draws, const DerivationRules& rules);

// An in-memory history database holding `draws` derived under `rules`, and
// the index built from it.
struct AnalysisHistory {
  std::unique_ptr<HistoryStore> store;
  HistoryIndex index;
};
AnalysisHistory MakeAnalysisHistory(const std::vector<Draw>& draws, const DerivationRules& rules);

// Checks that `got` holds the watches of `want`, in its order, with the same
// figures and conditions, over as many draws.
void ExpectSameBook(const WatchBook& got, const WatchBook& want);

}  // namespace zs::testing

#endif  // ZEPHYRSTAT_TESTS_SUPPORT_ANALYSIS_HISTORIES_H_
