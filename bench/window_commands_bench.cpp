// The window's long commands on a generated 500,000-draw history, each run
// as a player runs it (its button or menu item, the dialogs answered at
// once), measured by what the player feels: the longest gap between two
// turns of the window's event loop while the command runs and until its
// results are shown. A 1 ms timer on the window's thread notes each turn;
// the target is that no gap exceeds 50 ms, however long the command takes.
// The command's whole time is the benchmark's time; the label is the start
// of what the command put on the outcome line.
//
// Every run starts from a fresh copy of the data folder (a command changes
// the history) and a window opened on it; that is not measured. The update
// reads its page from scripts/results-server on 127.0.0.1.
#include <benchmark/benchmark.h>

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QSettings>
#include <algorithm>
#include <chrono>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

#include "app/dialogs.h"
#include "app/main_window.h"
#include "bench/event_loop_gaps.h"
#include "bench/generated_history.h"
#include "bench/window_settings.h"
#include "tests/support/results_server.h"

namespace zs {
namespace {

constexpr int64_t kDraws = 500000;
constexpr int kEdition = 0;  // 84 draws a day, as the generated history

// Answers every question with OK, an input box with the next queued answer
// and the open-file dialog with `file`; opens nothing.
class AnsweringDialogs : public Dialogs {
 public:
  std::deque<QString> inputs;
  QString file;

  bool Question(QWidget*, const QString&, const QString&, QuestionDefault) override { return true; }
  QString Input(QWidget*, const QString&, const QString&, const QString&) override {
    if (inputs.empty()) return {};
    QString answer = inputs.front();
    inputs.pop_front();
    return answer;
  }
  void Message(QWidget*, const QString&, const QString&) override {}
  QString OpenFile(QWidget*, const QString&, const QString&) override { return file; }
  bool OpenLink(const QUrl&) override { return false; }
  FileOpener& Opener() override { return opener_; }

 private:
  struct : FileOpener {
    bool Open(const std::filesystem::path&) override { return true; }
  } opener_;
};

// The generated history imported once, its text file, and a results page
// server that knows the draws of the day after it.
class Master {
 public:
  Master() {
    KeepWindowSettingsIn(folder_.path() / "config");
    Settings settings;
    settings.edition = EditionChoice::FromStored(kEdition);
    ImportGeneratedDrawsInChild(folder_.path(), kDraws, Date{2026, 12, 8}, 7, settings);
    const std::vector<Draw> nextDay = GeneratedDraws(200, Date{2026, 12, 9}, 84, 11);
    std::ofstream(pages_.path() / "gd.txt", std::ios::binary) << HistoryFileText(nextDay, false);
    server_ = std::make_unique<testing::ResultsServer>(
        std::filesystem::path(ZS_SOURCE_DIR) / "scripts" / "results-server", pages_.path());
  }
  const std::filesystem::path& folder() const { return folder_.path(); }
  std::string urlTemplate() const { return server_->UrlTemplate(); }

 private:
  BenchFolder folder_;
  BenchFolder pages_;
  std::unique_ptr<testing::ResultsServer> server_;
};

struct Command {
  // Prepares the window (answers, checked boxes) before the measurement.
  std::function<void(MainWindow&, AnsweringDialogs&)> prepare;
  std::function<void(MainWindow&)> run;
  // For a command that ends after it returns (the update).
  std::function<bool(MainWindow&)> done;
};

void Trigger(MainWindow& window, const char* action) {
  window.findChild<QAction*>(QString::fromLatin1(action))->trigger();
}

void Click(MainWindow& window, const char* button) {
  window.findChild<QAbstractButton*>(QString::fromLatin1(button))->click();
}

void RunCommand(benchmark::State& state, const Command& command) {
  static const Master master;
  LoopGaps gaps;
  double longestGap = 0;
  double longestGapEnd = 0;
  for (auto _ : state) {
    BenchFolder copy;
    for (const char* file : {"tessera.mdb", "history.txt"}) {
      std::filesystem::copy_file(master.folder() / file, copy.path() / file);
    }
    {
      QSettings store(QStringLiteral("Zephyrstat"), QStringLiteral("Zephyrstat"));
      store.setValue(QStringLiteral("IniSetting/GsZl"), kEdition);
      store.setValue(QStringLiteral("IniSetting/ResultsUrl"),
                     QString::fromStdString(master.urlTemplate()));
    }
    auto dialogs = std::make_unique<AnsweringDialogs>();
    AnsweringDialogs& answers = *dialogs;
    answers.file = QString::fromStdString((copy.path() / "history.txt").string());
    MainWindow window(copy.path(), std::move(dialogs));
    window.resize(1520, 900);
    window.show();
    // Once the start-up's queued work is done, which resets the selection.
    Serve(300);
    if (command.prepare) command.prepare(window, answers);
    Serve(50);

    const auto start = std::chrono::steady_clock::now();
    gaps.Start();
    command.run(window);
    if (command.done) Serve(120000, [&] { return command.done(window); });
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    // What the command leaves queued (the views, the grids' paint) counts too.
    Serve(300);
    const double gap = gaps.StopMilliseconds();
    if (gap > longestGap) {
      longestGap = gap;
      longestGapEnd = gaps.LongestEndMilliseconds();
    }
    state.SetIterationTime(seconds);
    // What the command said it did, to check that it ran.
    state.SetLabel(
        window.findChild<QLabel*>(QStringLiteral("outcomeLine"))->text().left(40).toStdString());
  }
  state.counters["max_gap_ms"] = longestGap;
  state.counters["gap_end_ms"] = longestGapEnd;
  state.counters["draws"] = kDraws;
}

void BM_Import(benchmark::State& state) {
  RunCommand(state, {nullptr, [](MainWindow& w) { Click(w, "cmdRdLst"); }, nullptr});
}
void BM_Update(benchmark::State& state) {
  RunCommand(state, {nullptr, [](MainWindow& w) { Click(w, "Command21"); },
                     [](MainWindow& w) {
                       return !w.findChild<QLabel*>(QStringLiteral("outcomeLine"))
                                   ->text()
                                   .startsWith(QStringLiteral("正在在线更新"));
                     }});
}
void BM_DeleteLast(benchmark::State& state) {
  RunCommand(state, {nullptr, [](MainWindow& w) { Trigger(w, "mnuErase"); }, nullptr});
}
void BM_DeleteLast10(benchmark::State& state) {
  RunCommand(state, {[](MainWindow&, AnsweringDialogs& d) { d.inputs = {QStringLiteral("10")}; },
                     [](MainWindow& w) { Trigger(w, "mnuEszhzd"); }, nullptr});
}
void BM_Clear(benchmark::State& state) {
  RunCommand(state, {nullptr, [](MainWindow& w) { Trigger(w, "mnuClear"); }, nullptr});
}
void BM_ZodiacBaseChange(benchmark::State& state) {
  RunCommand(state, {nullptr, [](MainWindow& w) { Trigger(w, "mnuSxcs_0"); }, nullptr});
}
// Pairs of the twenty numbers (全选) over the whole history.
void BM_GroupCalculation(benchmark::State& state) {
  RunCommand(state, {[](MainWindow& w, AnsweringDialogs&) { Click(w, "cmdZH_0"); },
                     [](MainWindow& w) { Click(w, "Command5"); }, nullptr});
}
// The history grid to its workbook.
void BM_ExportHistory(benchmark::State& state) {
  RunCommand(state, {nullptr, [](MainWindow& w) { Trigger(w, "mnuDcls"); }, nullptr});
}

#define ZS_WINDOW_COMMAND(name) \
  BENCHMARK(name)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1)
ZS_WINDOW_COMMAND(BM_Import);
ZS_WINDOW_COMMAND(BM_Update);
ZS_WINDOW_COMMAND(BM_DeleteLast);
ZS_WINDOW_COMMAND(BM_DeleteLast10);
ZS_WINDOW_COMMAND(BM_Clear);
ZS_WINDOW_COMMAND(BM_ZodiacBaseChange);
ZS_WINDOW_COMMAND(BM_GroupCalculation);
ZS_WINDOW_COMMAND(BM_ExportHistory);

}  // namespace
}  // namespace zs
