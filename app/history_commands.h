// The commands that change the history or write it out: the text import,
// the typed draw, the three deletions, clearing, the online update and the
// exports. Each passes the command gate, runs as one engine call (one
// transaction), puts on the outcome line what it did or why it did nothing,
// and then says historyChanged() so the views follow the stored history.
#ifndef ZEPHYRSTAT_APP_HISTORY_COMMANDS_H_
#define ZEPHYRSTAT_APP_HISTORY_COMMANDS_H_

#include <QObject>
#include <functional>
#include <optional>

#include "app/command_gate.h"
#include "core/draw.h"
#include "store/deletion.h"

namespace zs {

class GridView;
struct HistoryFileInspection;
class HistoryPanel;
class OnlineUpdater;
struct WindowState;

// How the search range follows a change of the history.
enum class RangeAfterChange { kKeep, kEndAtNewest, kWholeHistory };

class HistoryCommands : public QObject {
  Q_OBJECT

 public:
  HistoryCommands(WindowState& state, HistoryPanel& history, QObject* parent);

  void ImportText();
  // Reads `file` in place of the history without asking; false when nothing
  // was read (the outcome line says why).
  bool ImportFile(const QString& file);
  void StoreTypedDraw(const Numbers& numbers);
  void DeleteLast();
  void DeleteLastCount();
  void DeleteDownTo();
  void ClearHistory();
  void OnlineUpdate();
  // The history as text; a grid (history, hits, summary) to its workbook.
  void ExportText();
  void ExportGrid(GridView* grid, const char* sheetName);

 signals:
  void historyChanged(zs::RangeAfterChange range);

 private:
  // Precondition: the caller holds a pass of the gate.
  // Imports the inspected file, or reads the file itself when there is no
  // inspection.
  bool RunImport(const QString& file, const HistoryFileInspection* inspection);
  // Precondition: the caller holds a pass of the gate.
  void RunMultiDelete(const std::function<DeleteOutcome()>& remove);
  void AfterFailedDelete(size_t drawsBefore, const std::exception& error);

  WindowState& state_;
  HistoryPanel& history_;
  OnlineUpdater* updater_ = nullptr;
  // Held from the start of an online update until its page is applied or it fails.
  std::optional<CommandGate::Pass> updatePass_;
};

}  // namespace zs

#endif  // ZEPHYRSTAT_APP_HISTORY_COMMANDS_H_
