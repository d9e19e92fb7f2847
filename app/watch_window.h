// The 关注 window: the watch list as `watch list` prints it (编号, 名称, 内容,
// 条件, 出现次数, 最大遗漏, 最后遗漏, 平均遗漏, 欲出几率, 状态) over a snapshot,
// sortable by any column (figures as numbers), the rows of watches that hold
// highlighted; its context menu removes a watch. Adding and removing are
// commands of the window's gate.
//
// Preconditions: `history` and `gate` outlive the window; Refresh() is
// given every snapshot the window should show (after each change).
#ifndef ZEPHYRSTAT_APP_WATCH_WINDOW_H_
#define ZEPHYRSTAT_APP_WATCH_WINDOW_H_

#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>

#include "app/command_gate.h"
#include "core/watch.h"
#include "history/history.h"

class QTableWidget;

namespace zs {

class WatchWindow : public QWidget {
  Q_OBJECT

 public:
  WatchWindow(History& history, CommandGate& gate, QWidget* parent = nullptr);

  // Stores `watch` (from AskWatch) and shows the list with it; false when
  // the gate is held or the store failed (after message()).
  bool Add(const Watch& watch);
  // Removes the watch numbered `number`; false as for Add, or when there is
  // no such watch.
  bool Remove(int64_t number);

  QTableWidget* table() const { return table_; }

 public slots:
  void Refresh(const zs::Snapshot& snapshot);

 signals:
  // A line for the status bar.
  void message(const QString& text);

 private:
  void showMenu(const QPoint& position);
  // Runs `change` holding the gate as `command` and says what it did (the
  // text it returns) or why it did nothing (what it threw); shows the list
  // after a change. False when nothing changed.
  bool ChangeWatches(const QString& command, const std::function<QString()>& change);

  History& history_;
  CommandGate& gate_;
  QTableWidget* table_;
};

}  // namespace zs

#endif  // ZEPHYRSTAT_APP_WATCH_WINDOW_H_
