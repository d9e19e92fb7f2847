// The base of the command objects that change the history
// (history_commands.h, deletion_commands.h). They work on the window's state
// and empty the history panel's entry boxes after a change that replaces or
// shortens the history, so digits typed before it are not stored after it;
// once a change is stored they say historyChanged(), so the views show the
// new snapshot.
//
// Preconditions: `state` and `history` outlive the commands (they are the
// main window's).
#ifndef ZEPHYRSTAT_APP_HISTORY_CHANGE_H_
#define ZEPHYRSTAT_APP_HISTORY_CHANGE_H_

#include <QObject>

namespace zs {

class HistoryPanel;
struct WindowState;

// How the search range follows a change of the history.
enum class RangeAfterChange { kKeep, kEndAtNewest, kWholeHistory };

class HistoryChangeCommands : public QObject {
  Q_OBJECT

 public:
  HistoryChangeCommands(WindowState& state, HistoryPanel& history, QObject* parent);

 signals:
  void historyChanged(zs::RangeAfterChange range);

 protected:
  WindowState& state_;
  HistoryPanel& history_;
};

}  // namespace zs

#endif  // ZEPHYRSTAT_APP_HISTORY_CHANGE_H_
