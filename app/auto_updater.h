// 设置 → 自动更新: while on, the online update runs by itself every
// 自动更新间隔 minutes (AutoUpdate, AutoUpdateMinutes), on the worker thread
// of OnlineUpdater, as one command of the window's gate.
//
// A tick that finds the gate held by another command waits for the next
// one. A run that brings nothing new says nothing; one that brings draws
// emits drawsAdded() with the new snapshot (the window follows it) and, for
// the watches the draws made hold, an alert (desktop notification where the
// desktop has a tray) and its status-line text; a failure goes to the status
// line with the time, never to a modal box. At every third failure in a row
// the interval doubles, up to 60 minutes; the first success brings back the
// interval chosen.
//
// Preconditions: `history`, `gate` and `tray` (when given) outlive this
// object; the window changes the history only through the gate.
#ifndef ZEPHYRSTAT_APP_AUTO_UPDATER_H_
#define ZEPHYRSTAT_APP_AUTO_UPDATER_H_

#include <QObject>
#include <QString>
#include <QTime>
#include <QTimer>
#include <chrono>
#include <functional>
#include <optional>

#include "app/command_gate.h"
#include "frontend/online_updater.h"
#include "history/history.h"
#include "history/setting_change.h"

class QSystemTrayIcon;

namespace zs {

class AutoUpdater : public QObject {
  Q_OBJECT

 public:
  // Starts at once when the history's settings have AutoUpdate on. `save`
  // keeps the two settings (SaveSetting in the window).
  AutoUpdater(History& history, CommandGate& gate, SettingSaver save, QObject* parent = nullptr);

  // The two settings as the menu changes them: each is a command of the
  // gate and is saved. False (and nothing changed) when the gate is held,
  // after the gate's refused(), or when the value could not be saved, after
  // message() with the reason.
  bool setEnabled(bool on);
  bool setIntervalMinutes(int minutes);

  bool enabled() const { return enabled_; }
  // The interval in force: the one chosen, or a doubled one after failures.
  int currentIntervalMinutes() const { return currentMinutes_; }
  // "自动更新 开" or "自动更新 关", then the time of the last new draw.
  QString statusText() const;

  // Where alerts are shown as desktop notifications; none: the status line only.
  void setTray(QSystemTrayIcon* tray) { tray_ = tray; }
  // For tests: how long a minute of the interval lasts, and today's date.
  void setMinuteLength(std::chrono::milliseconds length);
  void setToday(std::function<Date()> today) { today_ = std::move(today); }

 signals:
  void statusChanged(const QString& status);
  // A line for the status bar: a failure with its time, or the watches fired.
  void message(const QString& text);
  // The history after a run that stored new draws.
  void drawsAdded(const zs::Snapshot& snapshot);

 private:
  void onTick();
  void onFinished(const UpdateReport& report);
  void onFailed(const QString& reason);
  void followSettings();
  void restartTimer();
  bool changeSetting(SettingKey key, const std::string& value);

  History& history_;
  CommandGate& gate_;
  SettingSaver save_;
  OnlineUpdater updater_;
  QTimer timer_;
  std::chrono::milliseconds minute_{std::chrono::minutes(1)};
  std::function<Date()> today_ = Today;
  QSystemTrayIcon* tray_ = nullptr;

  bool enabled_ = false;
  int chosenMinutes_ = 5;
  int currentMinutes_ = 5;
  int failuresInARow_ = 0;
  uint64_t versionBefore_ = 0;
  std::optional<QTime> lastNewDraw_;
  std::optional<CommandGate::Pass> pass_;  // held while a run is under way
};

}  // namespace zs

#endif  // ZEPHYRSTAT_APP_AUTO_UPDATER_H_
