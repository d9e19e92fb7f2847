// The window's live side: the automatic update (设置 → 自动更新, 自动更新间隔…)
// with its status-bar label and tray, the 关注 window (走势统计 → 关注(&W)…)
// and 加入关注… on the result grid, and how the window follows a change of
// the history made by either.
#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QMenu>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QTimer>

#include "analysis/watch_figures.h"
#include "app/add_watch_dialog.h"
#include "app/analysis_commands.h"
#include "app/auto_updater.h"
#include "app/background_task.h"
#include "app/main_window.h"
#include "app/results_panel.h"
#include "app/settings_commands.h"
#include "app/views/views_hooks.h"
#include "app/watch_alerts.h"
#include "app/watch_window.h"
#include "frontend/settings_store.h"

namespace zs {

void MainWindow::StartLive() {
  setupMenu_->addSeparator();
  QAction* autoUpdate = setupMenu_->addAction(QStringLiteral("自动更新"));
  autoUpdate->setObjectName(QStringLiteral("mnuAutoUpdate"));
  autoUpdate->setCheckable(true);
  QAction* interval = setupMenu_->addAction(QStringLiteral("自动更新间隔…"));
  interval->setObjectName(QStringLiteral("mnuAutoUpdateMinutes"));
  QAction* watches =
      findChild<QMenu*>(QStringLiteral("mnuViews"))->addAction(QStringLiteral("关注(&W)…"));
  watches->setObjectName(QStringLiteral("mnuWatches"));
  if (state_.history == nullptr) {
    for (QAction* action : {autoUpdate, interval, watches}) action->setEnabled(false);
    return;
  }
  History& history = *state_.history;
  followedVersion_ = history.snapshot()->version;

  if (QSystemTrayIcon::isSystemTrayAvailable()) {
    // The program's icon where it is installed; a tray icon without one
    // would not show.
    const QIcon icon = qApp->windowIcon().isNull() ? style()->standardIcon(QStyle::SP_ComputerIcon)
                                                   : qApp->windowIcon();
    tray_ = new QSystemTrayIcon(icon, this);
    tray_->setToolTip(windowTitle());
    tray_->show();
  }
  autoUpdater_ = new AutoUpdater(history, state_.gate, SaveSetting, this);
  autoUpdater_->setTray(tray_);
  watchWindow_ = new WatchWindow(history, state_.gate, this);
  watchWindow_->setWindowFlag(Qt::Window);

  autoStatus_ = new QLabel(autoUpdater_->statusText(), this);
  autoStatus_->setObjectName(QStringLiteral("autoUpdateStatus"));
  statusBar()->addPermanentWidget(autoStatus_);
  connect(autoUpdater_, &AutoUpdater::statusChanged, autoStatus_, &QLabel::setText);
  connect(autoUpdater_, &AutoUpdater::message, this,
          [this](const QString& text) { state_.Report(text); });
  connect(watchWindow_, &WatchWindow::message, this,
          [this](const QString& text) { state_.Report(text); });
  connect(autoUpdater_, &AutoUpdater::drawsAdded, this, &MainWindow::FollowAutoUpdate);

  autoUpdate->setChecked(autoUpdater_->enabled());
  connect(autoUpdate, &QAction::toggled, this, [this, autoUpdate](bool on) {
    if (autoUpdater_->setEnabled(on)) return;
    const QSignalBlocker blocker(autoUpdate);
    autoUpdate->setChecked(autoUpdater_->enabled());
  });
  connect(interval, &QAction::triggered, this, &MainWindow::AskAutoUpdateMinutes);
  connect(watches, &QAction::triggered, this, &MainWindow::OpenWatchWindow);
  connect(views_, &ViewsHooks::watchRequested, this, &MainWindow::AddWatchOfResultRow);

  for (HistoryChangeCommands* commands : ChangeCommands()) {
    connect(commands, &HistoryChangeCommands::historyChanged, this, &MainWindow::FollowOwnChange);
  }
  connect(settingsCommands_, &SettingsCommands::basesChanged, this, &MainWindow::FollowOwnChange);
  connect(settingsCommands_, &SettingsCommands::editionChanged, this, &MainWindow::FollowOwnChange);
}

void MainWindow::AskAutoUpdateMinutes() {
  const QString answer = state_.dialogs->Input(
      this, QStringLiteral("自动更新间隔"), QStringLiteral("自动更新间隔（分钟，1～60）："),
      QString::number(state_.settings().autoUpdateMinutes));
  if (answer.isEmpty()) return;
  bool whole = false;
  const int minutes = answer.trimmed().toInt(&whole);
  if (!whole || minutes < 1 || minutes > 60) {
    state_.Report(QStringLiteral("自动更新间隔未改：“%1”不是 1～60 的分钟数").arg(answer));
    return;
  }
  if (autoUpdater_->setIntervalMinutes(minutes)) {
    state_.Report(QStringLiteral("自动更新间隔改为 %1 分钟。").arg(minutes));
  }
}

void MainWindow::FollowOwnChange() {
  const Snapshot snapshot = state_.history->snapshot();
  watchWindow_->Refresh(snapshot);
  const bool moved = snapshot->version != followedVersion_;
  followedVersion_ = snapshot->version;
  if (!moved) return;
  const QString alert = ShowWatchAlerts(snapshot->fired, tray_);
  if (alert.isEmpty()) return;
  // After the outcome the command writes once it has said historyChanged.
  QTimer::singleShot(0, this, [this, alert] {
    state_.Report(state_.outcome->text() + QStringLiteral("  ") + alert);
  });
}

void MainWindow::FollowAutoUpdate(const Snapshot& snapshot) {
  // As after a typed draw; the alerts are the updater's own message.
  ShowStoredChange(snapshot, RangeAfterChange::kEndAtNewest);
}

void MainWindow::ShowStoredChange(const Snapshot& snapshot, RangeAfterChange range) {
  followedVersion_ = snapshot->version;
  ShowHistory(range);
  views_->ScheduleRefresh();
  analysisCommands_->RunShownAgain();
  watchWindow_->Refresh(snapshot);
}

void MainWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) FollowOthersChange();
}

void MainWindow::FollowOthersChange() {
  if (!state_.history || state_.gate.busy() || !state_.history->ChangedByOthers()) return;
  {
    const QString command = QStringLiteral("读入其他程序的更改");
    const auto pass = state_.gate.Enter(command);
    if (!pass) return;
    try {
      RunWithProgress(this, command, [this] { state_.history->Refresh(); });
    } catch (const std::exception& error) {
      state_.Report(QStringLiteral("无法读入其他程序对历史号码的更改：%1").arg(What(error)));
      return;
    }
  }
  const Snapshot snapshot = state_.history->snapshot();
  ShowStoredChange(snapshot, RangeAfterChange::kKeep);
  ReportHistorySummary();
  // A watch that the other program's draws made hold is told of here too.
  const QString alert = ShowWatchAlerts(snapshot->fired, tray_);
  if (!alert.isEmpty()) state_.Report(state_.outcome->text() + QStringLiteral("  ") + alert);
}

void MainWindow::OpenWatchWindow() {
  FollowOthersChange();
  watchWindow_->Refresh(state_.history->snapshot());
  watchWindow_->show();
  watchWindow_->raise();
  watchWindow_->activateWindow();
}

void MainWindow::AddWatchOfResultRow(int row) {
  if (watchWindow_ == nullptr) return;
  const std::optional<Watch> pattern = analysisCommands_->ShownWatchPattern(row);
  if (!pattern) return;
  const std::string content = WatchContent(*pattern, PanelBases::Of(state_.settings()));
  if (const std::optional<Watch> watch =
          AskWatch(this, *pattern, QString::fromStdString(content))) {
    if (watchWindow_->Add(*watch)) OpenWatchWindow();
  }
}

}  // namespace zs
