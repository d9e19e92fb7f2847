// The history text import at full size: a generated 500,000-draw file read
// into a fresh database file, beside a naive baseline that stores each draw
// with its own autocommitted INSERT (on fewer draws, compare per draw), and
// the draw derivation alone. Peak memory of the process is reported with the
// import, whose working set is the largest of the run.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/generated_history.h"
#include "bench/peak_memory.h"
#include "core/derivation.h"
#include "history/import.h"
#include "store/history_store.h"
#include "tools/history_generator.h"

namespace zs {
namespace {

constexpr int64_t kImportDraws = 500000;
constexpr int64_t kNaiveDraws = 5000;

// A temporary folder with the generated history file, made once per run.
class ImportFolder {
 public:
  ImportFolder() : file_(root_.path() / "历史号码.txt") {
    std::ofstream(file_, std::ios::binary) << HistoryFileText(GeneratedDraws(kImportDraws), false);
  }

  const std::filesystem::path& file() const { return file_; }
  // An empty folder for one database.
  std::filesystem::path FreshStoreFolder() {
    const std::filesystem::path folder = root_.path() / "store";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directory(folder);
    return folder;
  }

 private:
  BenchFolder root_;
  std::filesystem::path file_;
};

ImportFolder& Folder() {
  static ImportFolder folder;
  return folder;
}

void BM_ImportHistoryFile(benchmark::State& state) {
  const DerivationRules rules = BenchRules();
  int64_t stored = 0;
  for (auto _ : state) {
    state.PauseTiming();
    std::unique_ptr<HistoryStore> store = HistoryStore::OpenFolder(Folder().FreshStoreFolder());
    state.ResumeTiming();
    stored = ImportHistoryFile(*store, Folder().file(), rules).stored;
    state.PauseTiming();
    store.reset();
    state.ResumeTiming();
  }
  if (stored != kImportDraws) state.SkipWithError("the import did not store every draw");
  state.SetItemsProcessed(state.iterations() * stored);
  state.counters["draws"] = static_cast<double>(stored);
  state.counters["peak_rss_MB"] = PeakRssMegabytes();
}
BENCHMARK(BM_ImportHistoryFile)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// Every column the derivation fills, in one INSERT per draw outside any
// explicit transaction: each row is its own commit, as a draw-by-draw store
// without a surrounding transaction would do it.
std::string NaiveInsertSql() {
  std::string columns = "SQQH, QQH";
  std::string values = "?, ?";
  for (int position = 1; position <= kPositions; ++position) {
    for (char letter : kFieldLetters) {
      columns += ", L" + std::to_string(position) + letter;
      values += ", ?";
    }
  }
  for (const char* column : kListTextColumns) {
    columns += std::string(", ") + column;
    values += ", ?";
  }
  return "INSERT INTO Lishi (" + columns + ") VALUES (" + values + ")";
}

void BM_NaiveInsertPerDraw(benchmark::State& state) {
  const DerivationRules rules = BenchRules();
  const std::vector<Draw> draws = GeneratedDraws(kNaiveDraws);
  for (auto _ : state) {
    state.PauseTiming();
    std::unique_ptr<HistoryStore> store = HistoryStore::OpenFolder(Folder().FreshStoreFolder());
    Statement insert = store->db().Prepare(NaiveInsertSql());
    state.ResumeTiming();
    for (const Draw& draw : draws) {
      const HistoryRow row = DeriveRow(draw, rules);
      int parameter = 1;
      insert.Bind(parameter++, int64_t{row.issue});
      insert.Bind(parameter++, int64_t{row.nextIssue});
      for (int position = 0; position < kPositions; ++position) {
        for (int type = 0; type < kSearchTypeCount; ++type) {
          insert.Bind(parameter++, int64_t{row.fields[type][position]});
        }
      }
      for (const std::string& text : row.texts) insert.Bind(parameter++, text);
      insert.Run();
    }
  }
  state.SetItemsProcessed(state.iterations() * kNaiveDraws);
  state.counters["draws"] = static_cast<double>(kNaiveDraws);
}
BENCHMARK(BM_NaiveInsertPerDraw)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

void BM_DeriveRow(benchmark::State& state) {
  const DerivationRules rules = BenchRules();
  const std::vector<Draw> draws = GeneratedDraws(10000);
  size_t next = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(DeriveRow(draws[next], rules));
    next = next + 1 == draws.size() ? 0 : next + 1;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DeriveRow);

}  // namespace
}  // namespace zs

BENCHMARK_MAIN();
