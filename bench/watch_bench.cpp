// The watch list after one appended draw: 200 watches (position searches,
// partial searches and combinations of every type, each condition) over
// 500,000 draws brought up to date from their figures before the draw.
// Target: all 200 up to date in at most 30 ms (the new snapshot's cost comes
// on top). Beside it: the same through Followed(), which first makes sure the
// change only appended, and the book worked out anew over the whole history.
//
// The whole change as the window and the command-line tool make it: one
// typed draw through History (stored in the database, the index copied and
// the draw appended, the 200 watches advanced, the new snapshot published),
// target 30 ms; its snapshot part alone (the index copied, the draw
// appended) beside the watch part above.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <random>
#include <vector>

#include "analysis/history_index.h"
#include "analysis/watch_book.h"
#include "bench/generated_history.h"
#include "bench/generated_watches.h"
#include "history/history.h"
#include "history/typed_entry.h"

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

// The index of every draw but the newest and the book over it, then the
// index with the newest draw appended, as after a typed draw.
struct AppendedDraw {
  AppendedDraw() {
    const std::vector<Draw> draws = GeneratedDraws(kDraws);
    PackedHistory all = PackedDraws(draws);
    DeriveRowInto(draws.back(), BenchRules(), newest);
    all.issues.pop_back();
    all.fields.resize(all.fields.size() - kFieldsPerDraw);
    before = HistoryIndex(std::move(all));
    book = WatchBook(GeneratedWatches(kWatches), before, {});
    after = before;
    after.Append(newest);
  }
  HistoryIndex before;
  HistoryIndex after;
  HistoryRow newest;
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
  const std::vector<Watch> watches = GeneratedWatches(kWatches);
  for (auto _ : state) benchmark::DoNotOptimize(WatchBook(watches, appended.after, {}));
}
BENCHMARK(BM_ComputeTwoHundredWatchesAnew)->Unit(benchmark::kMillisecond);

void BM_CopyIndexAndAppendOneDraw(benchmark::State& state) {
  const AppendedDraw& appended = Shared();
  for (auto _ : state) {
    HistoryIndex copy = appended.before;
    copy.Append(appended.newest);
    benchmark::DoNotOptimize(copy);
  }
}
BENCHMARK(BM_CopyIndexAndAppendOneDraw)->Unit(benchmark::kMillisecond);

// A history in memory holding the generated draws and the 200 watches, its
// first snapshot taken (index read, watches worked out).
History& WatchedHistory() {
  static History* history = [] {
    Settings settings;
    settings.edition = EditionChoice::Of(0);
    History* made = History::OpenMemory(settings).release();
    made->store().ReplaceAllDraws(GeneratedDraws(kDraws), DerivationRules::From(settings));
    for (const Watch& watch : GeneratedWatches(kWatches)) made->AddWatch(watch);
    made->snapshot();
    return made;
  }();
  return *history;
}

Numbers RandomNumbers(std::mt19937_64& random) {
  Numbers numbers{};
  std::array<int, kMaxNumber> pool{};
  for (int n = 0; n < kMaxNumber; ++n) pool[size_t(n)] = n + 1;
  std::shuffle(pool.begin(), pool.end(), random);
  std::copy_n(pool.begin(), kPositions, numbers.begin());
  return numbers;
}

void BM_TypedDrawThroughHistoryWithTwoHundredWatches(benchmark::State& state) {
  History& history = WatchedHistory();
  std::mt19937_64 random(3);
  for (auto _ : state) {
    history.AddTypedDraw(RandomNumbers(random));
    const Snapshot snapshot = history.snapshot();
    benchmark::DoNotOptimize(snapshot->watches->entries().data());
  }
}
BENCHMARK(BM_TypedDrawThroughHistoryWithTwoHundredWatches)->Unit(benchmark::kMillisecond);

// The store's part of the change alone: the typed draw stored in the
// database, as History stores it.
void BM_TypedDrawStoredOnly(benchmark::State& state) {
  static HistoryStore* store = [] {
    HistoryStore* made = HistoryStore::OpenMemory().release();
    made->ReplaceAllDraws(GeneratedDraws(kDraws), BenchRules());
    return made;
  }();
  std::mt19937_64 random(3);
  for (auto _ : state)
    benchmark::DoNotOptimize(StoreTypedDraw(*store, RandomNumbers(random), BenchRules()));
}
BENCHMARK(BM_TypedDrawStoredOnly)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zs
