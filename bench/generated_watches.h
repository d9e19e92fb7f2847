// The watches the benchmarks follow: position searches, partial searches and
// combinations in turn, of every search type and each condition, their
// values drawn from a fixed seed, so that every benchmark follows the same
// ones.
#ifndef ZEPHYRSTAT_BENCH_GENERATED_WATCHES_H_
#define ZEPHYRSTAT_BENCH_GENERATED_WATCHES_H_

#include <cstdint>
#include <random>
#include <vector>

#include "analysis/selection_panel.h"
#include "core/draw.h"
#include "core/watch.h"

namespace zs {

inline std::vector<Watch> GeneratedWatches(int count) {
  std::mt19937_64 random(7);
  const auto pick = [&random](int from, int to) {
    return from + static_cast<int>(random() % static_cast<uint64_t>(to - from + 1));
  };
  std::vector<Watch> watches(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    Watch& watch = watches[static_cast<size_t>(i)];
    watch.number = i + 1;
    watch.kind = static_cast<WatchKind>(i % 3);
    watch.type = static_cast<SearchType>(pick(0, kSearchTypeCount - 1));
    watch.freePositions = pick(0, 1) == 1;
    for (int p = 0; p < kPositions; ++p) {
      watch.values[p] = pick(1, 9);
      watch.chosen[p] = pick(0, 3) == 0;
    }
    watch.partSize = pick(1, 6);
    watch.boxes = {1, pick(2, BoxCount(watch.type))};
    watch.condition.kind = static_cast<WatchCondition::Kind>((i / 3) % 3);
    watch.condition.lastAtLeast = pick(5, 50);
    watch.condition.ratioAtLeast = pick(1, 4) * WatchCondition::kRatioScale;
  }
  return watches;
}

}  // namespace zs

#endif  // ZEPHYRSTAT_BENCH_GENERATED_WATCHES_H_
