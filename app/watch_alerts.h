// How the window tells of watches a change of the history made hold: a
// desktop notification where the desktop has a tray, and in every case a
// line for the status bar, each naming the watches and their 最后遗漏.
#ifndef ZEPHYRSTAT_APP_WATCH_ALERTS_H_
#define ZEPHYRSTAT_APP_WATCH_ALERTS_H_

#include <QString>
#include <vector>

#include "analysis/watch_book.h"

class QSystemTrayIcon;

namespace zs {

// "关注提醒：编号 3「名称」最后遗漏 27；…", empty when `fired` is.
QString WatchAlertText(const std::vector<WatchEntry>& fired);

// Shows the alert as a notification of `tray` when there is one and the
// desktop has a tray, and returns the status-line text (empty when nothing
// fired).
QString ShowWatchAlerts(const std::vector<WatchEntry>& fired, QSystemTrayIcon* tray);

}  // namespace zs

#endif  // ZEPHYRSTAT_APP_WATCH_ALERTS_H_
