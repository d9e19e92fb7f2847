#include "app/watch_alerts.h"

#include <QStringList>
#include <QSystemTrayIcon>

namespace zs {

QString WatchAlertText(const std::vector<WatchEntry>& fired) {
  QStringList watches;
  for (const WatchEntry& entry : fired) {
    QString watch = QStringLiteral("编号 %1").arg(entry.watch.number);
    if (!entry.watch.name.empty()) {
      watch += QStringLiteral("「%1」").arg(QString::fromStdString(entry.watch.name));
    }
    watches << watch + QStringLiteral(" 最后遗漏 %1").arg(entry.figures.Omissions().last);
  }
  if (watches.isEmpty()) return {};
  return QStringLiteral("关注提醒：") + watches.join(QStringLiteral("；"));
}

QString ShowWatchAlerts(const std::vector<WatchEntry>& fired, QSystemTrayIcon* tray) {
  const QString text = WatchAlertText(fired);
  if (!text.isEmpty() && tray != nullptr && QSystemTrayIcon::isSystemTrayAvailable()) {
    tray->showMessage(QStringLiteral("关注提醒"), text.mid(QStringLiteral("关注提醒：").size()));
  }
  return text;
}

}  // namespace zs
