// The deletions (the 历史管理 menu and the 删除最后历史 button): the newest
// draw, the newest N draws, every draw after a chosen issue, and the whole
// history. Each passes the command gate, asks what it needs to know, runs as
// one History call (one transaction) on a worker thread behind the progress
// dialog, and puts on the outcome line what it deleted or why it deleted
// nothing. The multi-draw deletes rebuild the rest of the history under the
// current settings.
//
// A deletion is committed before the file is compacted. When the
// compaction fails, the draws are gone all the same: the views follow the
// stored history and the outcome says the deletion was done, with the
// compaction failure as a warning. A delete that throws deleted nothing.
#ifndef ZEPHYRSTAT_APP_DELETION_COMMANDS_H_
#define ZEPHYRSTAT_APP_DELETION_COMMANDS_H_

#include <functional>
#include <optional>

#include "app/command_gate.h"
#include "app/history_change.h"
#include "history/deletion.h"

namespace zs {

class DeletionCommands : public HistoryChangeCommands {
  Q_OBJECT

 public:
  using HistoryChangeCommands::HistoryChangeCommands;

  void DeleteLast();
  void DeleteLastCount();
  void DeleteDownTo();
  void ClearHistory();

 private:
  // Runs `remove` behind the progress dialog of `command`, gives `pass` back
  // and says what it did: `done` words a delete that deleted draws.
  void RunDelete(std::optional<CommandGate::Pass>& pass, const QString& command,
                 const std::function<DeleteOutcome()>& remove,
                 const std::function<QString(const DeleteOutcome&)>& done);
  static QString Rebuilt(const DeleteOutcome& outcome);
};

}  // namespace zs

#endif  // ZEPHYRSTAT_APP_DELETION_COMMANDS_H_
