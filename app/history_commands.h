// The commands that change the history or write it out: the text import,
// the typed draw, the three deletions, clearing, the online update and the
// exports. Each passes the command gate, runs as one History call (one
// transaction; all but the typed draw on a worker thread behind the
// progress dialog, background_task.h), puts on the outcome line what it did
// or why it did nothing, and then says historyChanged() so the views show
// the new snapshot. A change that replaces or shortens the history empties
// the entry boxes, so digits typed before it are not stored after it.
#ifndef ZEPHYRSTAT_APP_HISTORY_COMMANDS_H_
#define ZEPHYRSTAT_APP_HISTORY_COMMANDS_H_

#include <QObject>
#include <functional>
#include <memory>
#include <optional>

#include "app/command_gate.h"
#include "core/draw.h"
#include "history/deletion.h"

namespace zs {

class CommandProgress;
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
  ~HistoryCommands() override;

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
  // Reads `file` behind the progress dialog, gives `pass` back and shows
  // the history read; false when nothing was read.
  // Imports the inspected file, or reads the file itself when there is no
  // inspection.
  bool RunImport(std::optional<CommandGate::Pass>& pass, const QString& file,
                 const HistoryFileInspection* inspection);
  // Runs `remove` behind the progress dialog of `command`, gives `pass` back
  // and says what it did: `done` words a delete that deleted draws.
  void RunDelete(std::optional<CommandGate::Pass>& pass, const QString& command,
                 const std::function<DeleteOutcome()>& remove,
                 const std::function<QString(const DeleteOutcome&)>& done);
  static QString Rebuilt(const DeleteOutcome& outcome);

  WindowState& state_;
  HistoryPanel& history_;
  OnlineUpdater* updater_ = nullptr;
  // Held from the start of an online update until its page is applied or it fails.
  std::optional<CommandGate::Pass> updatePass_;
  std::unique_ptr<CommandProgress> updateProgress_;
};

}  // namespace zs

#endif  // ZEPHYRSTAT_APP_HISTORY_COMMANDS_H_
