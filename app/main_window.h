// The main window: lays out the four panels (history, pattern, selection,
// results), builds the menus (历史管理, 设置, 走势统计, 帮助), connects the panels'
// requests to the commands, and disables the controls that start a command
// while one runs. The panels own their controls; the commands
// (history_commands.h, deletion_commands.h, analysis_commands.h,
// settings_commands.h) call the engine.
//
// Start-up runs in the constructor: the settings, the database in
// `dataFolder` (a database that cannot be opened leaves the window usable
// and says why on the outcome line), the saved option states (an option
// that is not already on is clicked, running its handler), the issue and
// range boxes, and the history grid. Controls keep their historical object
// names (Check6_1, Option3_0, mnuKL10_3), by which tests find them.
#ifndef ZEPHYRSTAT_APP_MAIN_WINDOW_H_
#define ZEPHYRSTAT_APP_MAIN_WINDOW_H_

#include <QMainWindow>
#include <array>
#include <filesystem>
#include <memory>

#include "app/dialogs.h"
#include "app/history_commands.h"
#include "app/window_state.h"

class QLabel;
class QMenu;
class QSystemTrayIcon;

namespace zs {

class AnalysisCommands;
class AutoUpdater;
class DeletionCommands;
class HistoryPanel;
class PatternPanel;
class ResultsPanel;
class SelectionPanelWidget;
class SettingsCommands;
class ViewsHooks;
class WatchWindow;

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  MainWindow(std::filesystem::path dataFolder, std::unique_ptr<Dialogs> dialogs,
             QWidget* parent = nullptr);
  ~MainWindow() override;

  Settings settings() const { return state_.settings(); }
  // The search pattern (positions 1..8 at indices 0..7).
  const Numbers& pattern() const;
  bool manualTab() const;
  // Null when the database could not be opened.
  History* history() { return state_.history.get(); }
  // The index of the history as the last change left it.
  std::shared_ptr<const HistoryIndex> index() const { return state_.snapshot()->index; }

  // The first start of an installed program (sample_offer.cpp): when the
  // history is empty, asks whether to read in the sample history text
  // `sample` that the program ships, choosing the sample's edition when none
  // is chosen yet.
  void OfferSampleHistory(const std::filesystem::path& sample);

  // The 走势统计 window and the distribution charts.
  ViewsHooks& views() { return *views_; }

  // Shows the window at start within the screen's available area (the
  // screen less its panels), frame included, so the status bar is on
  // screen: maximized on a screen smaller than the window's preferred size,
  // else at that size, moved and shrunk once the window manager's frame is
  // known.
  void ShowWithinScreen();

  // The automatic update and the 关注 window; null when no database is open.
  AutoUpdater* autoUpdater() const { return autoUpdater_; }
  WatchWindow* watchWindow() const { return watchWindow_; }
  // Asks for the condition and name of a watch on row `row` of the result
  // grid (加入关注…) and stores it; the 关注 window shows it.
  void AddWatchOfResultRow(int row);
  // Opens the 关注 window over the history as it is now.
  void OpenWatchWindow();

 protected:
  // Coming back to the window reads what another program (the command-line
  // tool, a second window) changed meanwhile.
  void changeEvent(QEvent* event) override;

 private:
  // The menus, each item connected to a command object the constructor has
  // already created.
  void BuildMenus();
  // The panels' requests to the commands, and the commands' news to the views.
  void ConnectPanels();
  // The command objects that change the history.
  std::array<HistoryChangeCommands*, 2> ChangeCommands() const;
  void StartUp();
  // The views after the stored history changed.
  void ShowHistory(RangeAfterChange range);
  // The status line's summary of the history, its next issue included.
  void ReportHistorySummary();
  void SetCommandsEnabled(bool enabled);
  void FitFrameIntoScreen();
  // The automatic update, the tray, the 关注 window and their menu items
  // and status-bar label (main_window_live.cpp).
  void StartLive();
  void AskAutoUpdateMinutes();
  // After a change the window made: the 关注 window follows, and the
  // watches the change made hold are told of.
  void FollowOwnChange();
  // After the automatic update stored new draws.
  void FollowAutoUpdate(const Snapshot& snapshot);
  // Every view, the shown analysis and the 关注 window follow a snapshot
  // with changed draws.
  void ShowStoredChange(const Snapshot& snapshot, RangeAfterChange range);
  // When another program changed the stored history or the watches since
  // the window's last snapshot: reads them on the worker thread and shows
  // them as after a change of its own. Does nothing while a command runs.
  void FollowOthersChange();

  WindowState state_;
  HistoryPanel* history_ = nullptr;
  PatternPanel* pattern_ = nullptr;
  SelectionPanelWidget* selection_ = nullptr;
  ResultsPanel* results_ = nullptr;
  HistoryCommands* historyCommands_ = nullptr;
  DeletionCommands* deletionCommands_ = nullptr;
  AnalysisCommands* analysisCommands_ = nullptr;
  SettingsCommands* settingsCommands_ = nullptr;
  ViewsHooks* views_ = nullptr;
  QMenu* historyMenu_ = nullptr;     // 历史管理, also the history grid's context menu
  QMenu* setupMenu_ = nullptr;       // 设置, also the 软件设置 button's menu
  QSystemTrayIcon* tray_ = nullptr;  // null where the desktop has no tray
  AutoUpdater* autoUpdater_ = nullptr;
  WatchWindow* watchWindow_ = nullptr;
  QLabel* autoStatus_ = nullptr;
  uint64_t followedVersion_ = 0;  // the history version the window last followed
};

}  // namespace zs

#endif  // ZEPHYRSTAT_APP_MAIN_WINDOW_H_
