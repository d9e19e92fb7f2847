// The watch list after one appended draw: 200 watches (position searches,
// partial searches and combinations of every type, each condition) over
// 500,000 draws brought up to date from their figures before the draw.
// Target: all 200 up to date in at most 30 ms (the new snapshot's cost comes
// on top). Beside it: the same through Followed(), which first makes sure the
// change only appended, and the book worked out anew over the whole history.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "analysis/history_index.h"
#include "analysis/watch_book.h"
#include "bench/generated_history.h"

namespace zs {
namespace {

constexpr int64_t kDraws = 500000;
constexpr int kWatches = 200;

// The generated history's fields, derived a row at a time.
PackedHistory PackedDraws(const std::vector<Draw>& draws) {
  PackedHistory packed;
  packed.Reserve(draws.size());
  HistoryRow row;
  for (const Draw& draw : draws) {
    DeriveRowInto(draw, BenchRules(), row);
    packed.Add(row.issue, row.fields);
  }
  return packed;
}

std::vector<Watch> Watches() {
  std::mt19937_64 random(7);
  const auto pick = [&random](int from, int to) {
    return from + static_cast<int>(random() % static_cast<uint64_t>(to - from + 1));
  };
  std::vector<Watch> watches(kWatches);
  for (int i = 0; i < kWatches; ++i) {
    Watch& watch = watches[i];
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

// The index of every draw but the newest and the book over it, then the
// index with the newest draw appended, as after a typed draw.
struct AppendedDraw {
  AppendedDraw() {
    const std::vector<Draw> draws = GeneratedDraws(kDraws);
    PackedHistory all = PackedDraws(draws);
    HistoryRow newest;
    DeriveRowInto(draws.back(), BenchRules(), newest);
    all.issues.pop_back();
    all.fields.resize(all.fields.size() - kFieldsPerDraw);
    before = HistoryIndex(std::move(all));
    book = WatchBook(Watches(), before, {});
    after = before;
    after.Append(newest);
  }
  HistoryIndex before;
  HistoryIndex after;
  WatchBook book;
};

AppendedDraw& Shared() {
  static AppendedDraw* appended = new AppendedDraw;
  return *appended;
}

void BM_AdvanceTwoHundredWatchesByOneDraw(benchmark::State& state) {
  const AppendedDraw& appended = Shared();
  for (auto _ : state) benchmark::DoNotOptimize(appended.book.Advanced(appended.after));
}
BENCHMARK(BM_AdvanceTwoHundredWatchesByOneDraw)->Unit(benchmark::kMillisecond);

void BM_FollowTwoHundredWatchesThroughAnAppend(benchmark::State& state) {
  const AppendedDraw& appended = Shared();
  for (auto _ : state) {
    benchmark::DoNotOptimize(appended.book.Followed(appended.before, appended.after, {}));
  }
}
BENCHMARK(BM_FollowTwoHundredWatchesThroughAnAppend)->Unit(benchmark::kMillisecond);

void BM_ComputeTwoHundredWatchesAnew(benchmark::State& state) {
  const AppendedDraw& appended = Shared();
  const std::vector<Watch> watches = Watches();
  for (auto _ : state) benchmark::DoNotOptimize(WatchBook(watches, appended.after, {}));
}
BENCHMARK(BM_ComputeTwoHundredWatchesAnew)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zs

BENCHMARK_MAIN();
