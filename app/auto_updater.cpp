#include "app/auto_updater.h"

#include <algorithm>
#include <exception>
#include <string>
#include <utility>

#include "app/watch_alerts.h"

namespace zs {
namespace {

constexpr int kLongestMinutes = 60;
constexpr int kFailuresBeforeSlowing = 3;

}  // namespace

AutoUpdater::AutoUpdater(History& history, CommandGate& gate, SettingSaver save, QObject* parent)
    : QObject(parent), history_(history), gate_(gate), save_(std::move(save)) {
  connect(&timer_, &QTimer::timeout, this, &AutoUpdater::onTick);
  connect(&updater_, &OnlineUpdater::finished, this, &AutoUpdater::onFinished);
  connect(&updater_, &OnlineUpdater::failed, this, &AutoUpdater::onFailed);
  followSettings();
}

void AutoUpdater::followSettings() {
  const Settings settings = history_.settings();
  enabled_ = settings.autoUpdate;
  chosenMinutes_ = settings.autoUpdateMinutes;
  currentMinutes_ = chosenMinutes_;
  failuresInARow_ = 0;
  restartTimer();
  emit statusChanged(statusText());
}

void AutoUpdater::restartTimer() {
  timer_.stop();
  if (!enabled_) return;
  timer_.start(minute_ * currentMinutes_);
}

void AutoUpdater::setMinuteLength(std::chrono::milliseconds length) {
  minute_ = length;
  restartTimer();
}

bool AutoUpdater::changeSetting(SettingKey key, const std::string& value) {
  const std::optional<CommandGate::Pass> pass = gate_.Enter(QStringLiteral("自动更新"));
  if (!pass) return false;
  try {
    history_.ChangeSetting(key, value, save_);
  } catch (const std::exception& error) {
    emit message(QString::fromUtf8(error.what()));
    return false;
  }
  followSettings();
  return true;
}

bool AutoUpdater::setEnabled(bool on) {
  return changeSetting(SettingKey::kAutoUpdate, on ? "true" : "false");
}

bool AutoUpdater::setIntervalMinutes(int minutes) {
  return changeSetting(SettingKey::kAutoUpdateMinutes, std::to_string(minutes));
}

QString AutoUpdater::statusText() const {
  QString text = enabled_ ? QStringLiteral("自动更新 开") : QStringLiteral("自动更新 关");
  if (lastNewDraw_) {
    text += QStringLiteral("，最后新开奖 %1").arg(lastNewDraw_->toString(QStringLiteral("HH:mm")));
  }
  return text;
}

void AutoUpdater::onTick() {
  // Another command (or the last run) holds the gate: the next tick tries
  // again, without the refusal the gate would show.
  if (!enabled_ || updater_.isRunning() || gate_.busy()) return;
  std::optional<CommandGate::Pass> pass = gate_.Enter(QStringLiteral("自动更新"));
  if (!pass) return;
  pass_.emplace(std::move(*pass));
  versionBefore_ = history_.snapshot()->version;
  updater_.start(history_, history_.settings(), today_());
}

void AutoUpdater::onFinished(const UpdateReport& report) {
  pass_.reset();
  if (failuresInARow_ >= kFailuresBeforeSlowing) {
    currentMinutes_ = chosenMinutes_;
    restartTimer();
  }
  failuresInARow_ = 0;
  if (report.added == 0 && report.dropped == 0) return;
  const Snapshot snapshot = history_.snapshot();
  if (snapshot->version == versionBefore_) return;  // stored, but not read back
  if (report.added > 0) lastNewDraw_ = QTime::currentTime();
  emit statusChanged(statusText());
  emit drawsAdded(snapshot);
  const QString alert = ShowWatchAlerts(snapshot->fired, tray_);
  if (!alert.isEmpty()) emit message(alert);
}

void AutoUpdater::onFailed(const QString& reason) {
  pass_.reset();
  ++failuresInARow_;
  if (failuresInARow_ % kFailuresBeforeSlowing == 0 && currentMinutes_ < kLongestMinutes) {
    currentMinutes_ = std::min(currentMinutes_ * 2, kLongestMinutes);
    restartTimer();
  }
  emit message(QStringLiteral("自动更新失败（%1）：%2")
                   .arg(QTime::currentTime().toString(QStringLiteral("HH:mm:ss")), reason));
}

}  // namespace zs
