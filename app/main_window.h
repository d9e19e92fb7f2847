// The main window: every control and menu of the program, the history grid,
// the option groups that pose a search, the issue and range boxes, the
// selection panel, the settings menus and the history commands.
//
// The window is thin: it reads its widgets, calls the engine (store/,
// acquire/, analysis/, export/) and shows the engine's grids. Widgets are
// named after their role with the index after an underscore (Check6_1,
// Option3_0, Text3_1, mnuKL10_3) so that tests find them by objectName.
//
// Start-up runs in the constructor: the settings, the database in
// `dataFolder` (a database that cannot be opened leaves the window usable
// and says why in the status bar), the saved option states (an option that
// is not already on is clicked, running its handler), the issue and range
// boxes, and the history grid.
#ifndef ZEPHYRSTAT_APP_MAIN_WINDOW_H_
#define ZEPHYRSTAT_APP_MAIN_WINDOW_H_

#include <QMainWindow>
#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "analysis/history_index.h"
#include "analysis/hit_scan.h"
#include "analysis/search_pattern.h"
#include "analysis/selection_panel.h"
#include "app/dialogs.h"
#include "app/grid_view.h"
#include "core/settings.h"
#include "store/deletion.h"
#include "store/history_store.h"

class QAction;
class QActionGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QTabBar;
class QWidget;

namespace zs {

class OnlineUpdater;
class ViewsWindow;
class WheelScroller;
struct ViewOptions;

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  MainWindow(std::filesystem::path dataFolder, std::unique_ptr<Dialogs> dialogs,
             QWidget* parent = nullptr);
  ~MainWindow() override;

  const Settings& settings() const { return settings_; }
  // The search pattern intPosNumber (positions 1..8 at indices 0..7).
  const Numbers& pattern() const { return pattern_; }
  bool manualTab() const { return manualTab_; }
  // Null when the database could not be opened.
  HistoryStore* store() { return store_.get(); }
  const HistoryIndex& index() const { return index_; }

  // The first start of an installed program (sample_offer.cpp): when the
  // history is empty, asks whether to read in the sample history text
  // `sample` that the program ships, choosing the sample's edition when none
  // is chosen yet.
  void OfferSampleHistory(const std::filesystem::path& sample);

  // The views (views_hooks.cpp): the 走势统计 window, opened on a tab
  // (0 走势, 1 统计), and what it follows.
  ViewsWindow* OpenViews(int tab);
  ViewOptions CurrentViewOptions() const;
  // Opens the omission distribution chart of row `row` of the result grid
  // (the summary of the last search, or a combination of the omission
  // table); nullptr when there is nothing to chart and the status bar says why.
  QWidget* ShowResultDistribution(int row);

 signals:
  // After every change of the stored history (the history grid is current).
  void historyChanged();
  // After a change of the search type, the position mode, the position
  // check boxes or the range boxes.
  void searchOptionsChanged();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Building the window (main_window_build.cpp).
  void BuildControls();
  QWidget* BuildPatternArea();
  QWidget* BuildOptionArea();
  QWidget* BuildSelectionPanel();
  QWidget* BuildHistoryArea();
  void BuildMenus();
  QAction* AddAction(QMenu* menu, const QString& caption, const QString& name);

  // Start-up (main_window.cpp).
  void StartUp();
  void OpenDatabase();
  void ApplyStartOption(QRadioButton* button, bool on);
  void CheckStartMenus();

  // The history views.
  void AddHaoma();
  void QihaoXianshi();
  void PatternRefresh();
  void ResetRangeStart();
  void SetRangeToHistory();
  void ShowLastIssueAsRangeEnd();
  void Ysjs();
  void ReloadIndex();
  void ShowStatus(const QString& text);
  void ShowEmptyHistoryHint();
  void ShowHistorySummary();
  QString ShownIssueText(int32_t stored) const;

  // View mode and pattern handlers.
  void OnPositionMode(int index);
  void OnNumberOrder();
  void OnSearchType(int index);
  void OnTab(int tab);
  void OnPatternBoxEdited(int position);
  void OnCheck4();
  void OnText4Edited();

  // Selection panel (Check6, cmdZH, Text5).
  void OnSelectionBox(int box);
  void OnSelectionButton(int index);
  void RelabelSelectionBoxes();
  void ShowSelection();
  PanelBases Bases() const;

  // Settings menus (settings_menus.cpp).
  void OnZodiacBase(int base);
  void OnSegmentBase(int base);
  void OnColourBase(int base);
  bool ChangeBase(SettingKey key, int value);
  // Changes one setting through the engine (checked, the history re-derived
  // for a base, saved); returns the message of a failure, which changed
  // nothing.
  std::optional<QString> ChangeOneSetting(SettingKey key, const QString& value);
  // Saves a view option already applied; a failed save is only reported.
  void RememberSetting(SettingKey key);
  void OnEdition(int edition);
  void OnSetDays();
  void OnResultsUrl();
  void OnCombo1FocusLost();
  void OnSettingsButton();
  void OpenGuidePage(const QString& page);

  // History commands (history_commands.cpp, deletion_commands.cpp).
  void OnImportText();
  bool RunImport(const QString& file);
  // RunImport, then the refresh of the views the new history changes.
  bool ImportAndRefresh(const QString& file);
  void OnManualEntryChanged(int box);
  void StoreTypedEntry();
  void ClearManualEntry();
  void OnDeleteLast();
  void OnDeleteLastCount();
  void OnDeleteDownTo();
  // Runs `remove` (a delete of several draws) for the number the user gave
  // in `asked`, then shows the rebuilt history.
  void DeleteSeveral(std::optional<int64_t> asked, const std::function<DeleteOutcome()>& remove);
  void AfterDelete(const DeleteOutcome& outcome, const QString& done);
  void OnClearHistory();
  void OnOnlineUpdate();
  void OnExportText();
  void OnExportGrid(GridView* grid);
  bool RequireStore();
  void RunBusy(const std::function<void()>& work);

  // Analyses (analysis_commands.cpp).
  void OnPositionSearch();
  void OnPartialSearch();
  void OnGroupCalculation();
  void OnOmissionTableClick(int column);
  void CommitFocusedPatternBox();
  SearchPattern CurrentPattern() const;

  // The views' hooks (views_hooks.cpp).
  void BuildViewHooks();

  std::filesystem::path dataFolder_;
  std::unique_ptr<Dialogs> dialogs_;
  Settings settings_;
  std::unique_ptr<HistoryStore> store_;
  HistoryIndex index_;
  SelectionPanel panel_;
  Numbers pattern_{};
  bool manualTab_ = true;
  bool entryClearing_ = false;
  int groupSize_ = 0;
  WheelScroller* wheel_ = nullptr;
  OnlineUpdater* updater_ = nullptr;
  ViewsWindow* views_ = nullptr;
  // The hits of the search whose summary the result grid shows; none while
  // it shows the omission table.
  std::optional<HitList> searchHits_;

  // Controls, by their names; arrays are indexed by the control index.
  std::array<QCheckBox*, 9> check11_{};  // 1..8
  std::array<QLineEdit*, 9> text22_{};   // 1..8
  std::array<QCheckBox*, 9> check1_{};   // position 1..8 is Check1_11..18
  std::array<QLineEdit*, 9> text2_{};    // position 1..8 is Text2_11..18
  QWidget* manualFrame_ = nullptr;
  QWidget* chosenFrame_ = nullptr;
  std::array<QCheckBox*, 21> check6_{};  // 1..20
  std::array<QPushButton*, 3> cmdZH_{};
  QComboBox* combo2_ = nullptr;
  QLineEdit* text5_ = nullptr;
  QPushButton* command5_ = nullptr;
  std::array<QLineEdit*, 2> text3_{};
  QLineEdit* text4_ = nullptr;
  QCheckBox* check4_ = nullptr;
  QComboBox* combo1_ = nullptr;
  QPushButton* command2_ = nullptr;
  std::array<QRadioButton*, 6> option3_{};
  std::array<QRadioButton*, 6> option2_{};  // 4, 5
  std::array<QRadioButton*, 4> option1_{};
  QLineEdit* maskEdBox2_ = nullptr;
  QPushButton* command1_ = nullptr;
  GridView* grid1_ = nullptr;
  GridView* grid2_ = nullptr;
  GridView* grid3_ = nullptr;
  QPushButton* command3_ = nullptr;
  QPushButton* command4_ = nullptr;
  QPushButton* cmdRdLst_ = nullptr;
  QPushButton* command21_ = nullptr;
  QPushButton* command9_ = nullptr;
  QLineEdit* text1_ = nullptr;
  std::array<QLineEdit*, 9> maskEdBox1_{};  // 1..8
  QTabBar* tabStrip1_ = nullptr;

  QMenu* mnuLsgl_ = nullptr;
  QMenu* mnuSetup_ = nullptr;
  std::array<QAction*, 2> mnuSxcs_{};
  std::array<QAction*, 2> mnuDscs_{};
  std::array<QAction*, 2> mnuBscs_{};
  std::array<QAction*, 8> mnuKL10_{};
};

}  // namespace zs

#endif  // ZEPHYRSTAT_APP_MAIN_WINDOW_H_
