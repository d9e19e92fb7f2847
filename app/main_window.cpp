#include "app/main_window.h"

#include <QApplication>
#include <QCursor>
#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include "analysis/result_grids.h"
#include "app/analysis_commands.h"
#include "app/deletion_commands.h"
#include "app/grid_view.h"
#include "app/history_panel.h"
#include "app/pattern_panel.h"
#include "app/results_panel.h"
#include "app/selection_panel_widget.h"
#include "app/settings_commands.h"
#include "app/views/views_hooks.h"
#include "app/wheel_scroller.h"
#include "core/derivation.h"
#include "core/issue_number.h"
#include "export/spreadsheet_export.h"
#include "frontend/settings_store.h"

namespace zs {
namespace {

// Wide enough for every column of the hit list beside the other panels.
constexpr QSize kPreferredSize(1520, 900);
// Room for the title bar and borders a window manager adds.
constexpr QSize kFrameAllowance(16, 48);

}  // namespace

MainWindow::MainWindow(std::filesystem::path dataFolder, std::unique_ptr<Dialogs> dialogs,
                       QWidget* parent)
    : QMainWindow(parent) {
  state_.dataFolder = std::move(dataFolder);
  state_.dialogs = std::move(dialogs);
  state_.window = this;
  // Captions use 宋体; on Linux it stands for the installed CJK font.
  QFont::insertSubstitution(QStringLiteral("宋体"), QStringLiteral("WenQuanYi Zen Hei"));
  QFont font(QStringLiteral("宋体"));
  font.setPointSize(10);
  setFont(font);
  setWindowTitle(QStringLiteral("Zephyrstat 泽风统计 — 快乐十分遗漏分析"));

  auto* central = new QWidget(this);
  auto* columns = new QHBoxLayout(central);
  columns->setContentsMargins(4, 4, 4, 4);
  history_ = new HistoryPanel(central);
  pattern_ = new PatternPanel(state_, central);
  selection_ = new SelectionPanelWidget(central);
  results_ = new ResultsPanel(central);
  // The history and the pattern keep their natural widths; the results,
  // whose hit list is the widest grid, take what the window has beyond them.
  columns->addWidget(history_, 0);
  columns->addWidget(pattern_, 0);
  auto* right = new QVBoxLayout;
  right->addWidget(selection_);
  right->addWidget(results_, 1);
  columns->addLayout(right, 1);
  setCentralWidget(central);

  // The outcome of the last command stays until the next one: menus and
  // tool tips show their hints elsewhere, never over it.
  state_.outcome = new QLabel(this);
  state_.outcome->setObjectName(QStringLiteral("outcomeLine"));
  state_.outcome->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  statusBar()->addPermanentWidget(state_.outcome, 1);

  historyCommands_ = new HistoryCommands(state_, *history_, this);
  deletionCommands_ = new DeletionCommands(state_, *history_, this);
  analysisCommands_ = new AnalysisCommands(state_, *pattern_, *selection_, *results_, this);
  settingsCommands_ = new SettingsCommands(state_, this);
  views_ = new ViewsHooks(state_, *pattern_, *results_, this);
  BuildMenus();
  ConnectPanels();
  qApp->installEventFilter(
      new WheelScroller({history_->grid(), results_->hits(), results_->summary()}, this));

  // The preferred size as far as the screen allows, and on the screen.
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect available = screen->availableGeometry();
    resize(kPreferredSize.boundedTo(available.size()));
    move(available.topLeft());
  }
  StartUp();
  StartLive();
}

void MainWindow::ShowWithinScreen() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) {
    show();
    return;
  }
  // A window manager fits a maximized window, title bar and borders
  // included, into the available area; without one the size set at start holds.
  const QSize available = screen->availableGeometry().size();
  const QSize wanted = kPreferredSize + kFrameAllowance;
  if (wanted.width() > available.width() || wanted.height() > available.height()) {
    showMaximized();
    return;
  }
  show();
  QTimer::singleShot(0, this, &MainWindow::FitFrameIntoScreen);
}

void MainWindow::FitFrameIntoScreen() {
  const QRect available = screen()->availableGeometry();
  const QRect frame = frameGeometry();
  if (available.contains(frame)) return;
  resize(size().boundedTo(available.size() - (frame.size() - size())));
  move(available.topLeft());
}

// The panels go first, while the state their handlers read still exists.
MainWindow::~MainWindow() { delete takeCentralWidget(); }

const Numbers& MainWindow::pattern() const { return pattern_->pattern(); }

bool MainWindow::manualTab() const { return pattern_->manualTab(); }

void MainWindow::ConnectPanels() {
  connect(&state_.gate, &CommandGate::refused, this,
          [this](const QString& message) { state_.Report(message); });
  connect(&state_.gate, &CommandGate::busyChanged, this,
          [this](bool busy) { SetCommandsEnabled(!busy); });
  for (HistoryChangeCommands* commands : ChangeCommands()) {
    connect(commands, &HistoryChangeCommands::historyChanged, this, &MainWindow::ShowHistory);
    connect(commands, &HistoryChangeCommands::historyChanged, views_, &ViewsHooks::ScheduleRefresh);
  }
  connect(settingsCommands_, &SettingsCommands::basesChanged, views_, &ViewsHooks::ScheduleRefresh);
  connect(settingsCommands_, &SettingsCommands::editionChanged, this, [this] {
    ShowHistory(RangeAfterChange::kKeep);
    ReportHistorySummary();
    views_->ScheduleRefresh();
  });
  connect(analysisCommands_, &AnalysisCommands::searchHitsShown, views_,
          &ViewsHooks::RememberSearchHits);
  connect(analysisCommands_, &AnalysisCommands::omissionTableShown, views_,
          &ViewsHooks::RememberOmissionTable);
  connect(settingsCommands_, &SettingsCommands::basesChanged, this, [this] {
    history_->ClearEntry();
    pattern_->Refresh();
    selection_->Relabel(PanelBases::Of(state_.settings()));
  });

  HistoryCommands* history = historyCommands_;
  connect(history_, &HistoryPanel::importRequested, history, &HistoryCommands::ImportText);
  connect(history_, &HistoryPanel::updateRequested, history, &HistoryCommands::OnlineUpdate);
  connect(history_, &HistoryPanel::deleteLastRequested, deletionCommands_,
          &DeletionCommands::DeleteLast);
  connect(history_, &HistoryPanel::exportTextRequested, history, &HistoryCommands::ExportText);
  connect(history_, &HistoryPanel::drawTyped, history, &HistoryCommands::StoreTypedDraw);
  connect(history_, &HistoryPanel::gridExportRequested, history,
          [this] { historyCommands_->ExportGrid(history_->grid(), kHistorySheetName); });
  connect(history_, &HistoryPanel::settingsRequested, this,
          [this] { setupMenu_->popup(QCursor::pos()); });
  connect(history_, &HistoryPanel::historyMenuRequested, this,
          [this](const QPoint& at) { historyMenu_->popup(at); });

  connect(pattern_, &PatternPanel::searchTypeChanged, this, [this](SearchType type) {
    selection_->ChangeType(type, PanelBases::Of(state_.settings()));
  });
  connect(pattern_, &PatternPanel::positionSearchRequested, analysisCommands_,
          &AnalysisCommands::PositionSearch);
  connect(pattern_, &PatternPanel::partialSearchRequested, analysisCommands_,
          &AnalysisCommands::PartialSearch);
  connect(selection_, &SelectionPanelWidget::groupCalculationRequested, analysisCommands_,
          &AnalysisCommands::GroupCalculation);
  connect(results_, &ResultsPanel::omissionOrderRequested, analysisCommands_,
          &AnalysisCommands::ShowOmissionTable);
  connect(results_, &ResultsPanel::exportRequested, this, [this](GridView* grid) {
    historyCommands_->ExportGrid(grid,
                                 grid == results_->hits() ? kHitsSheetName : kResultSheetName);
  });
}

std::array<HistoryChangeCommands*, 2> MainWindow::ChangeCommands() const {
  return {historyCommands_, deletionCommands_};
}

void MainWindow::StartUp() {
  try {
    // A base change that a crash cut short is finished before the rows are read.
    state_.Open(LoadSettings());
  } catch (const std::exception& error) {
    state_.Report(
        QStringLiteral("无法打开历史数据库 %1：%2")
            .arg(QString::fromStdU16String((state_.dataFolder / kHistoryFileName).u16string()),
                 What(error)));
  }
  settingsCommands_->ShowChecks();
  pattern_->ApplySavedOptions();
  // The result grids show their headings before the first analysis.
  results_->ShowResult(std::make_shared<const HitListGrid>(*state_.snapshot()->index,
                                                           std::make_shared<const HitList>(),
                                                           SearchType::kNumber, ShowRules{}),
                       OmissionTableGrid({}));
  ShowHistory(RangeAfterChange::kWholeHistory);
  ReportHistorySummary();
  if (state_.history && state_.history->RederivedAtOpening()) {
    state_.Report(QStringLiteral("历史号码已按当前的生肖和分段参数重新计算。"));
  }
}

void MainWindow::ReportHistorySummary() {
  const Snapshot shown = state_.snapshot();
  const HistoryIndex& index = *shown->index;
  if (index.DrawCount() > 0) {
    state_.Report(QStringLiteral("历史号码共 %1 期，从 %2 到 %3；下一期 %4。")
                      .arg(index.DrawCount())
                      .arg(state_.ShownIssueText(index.Issue(0)),
                           state_.ShownIssueText(index.Issue(index.DrawCount() - 1)),
                           history_->nextIssue()));
  }
}

void MainWindow::ShowHistory(RangeAfterChange range) {
  const Snapshot shown = state_.snapshot();
  const HistoryIndex& index = *shown->index;
  const IssueRule rule = IssueRule::From(state_.settings());
  history_->ShowHistory(index, rule.threeDigit);
  if (index.DrawCount() > 0) {
    history_->SetNextIssue(
        state_.ShownIssueText(FollowingIssue(index.Issue(index.DrawCount() - 1), rule)));
    pattern_->ShowNewestIssue();
  }
  if (range == RangeAfterChange::kWholeHistory) pattern_->SetRangeToHistory();
  if (range == RangeAfterChange::kEndAtNewest) pattern_->SetRangeEndToNewest();
  pattern_->Refresh();
  if (state_.history != nullptr && index.DrawCount() == 0) {
    state_.Report(QStringLiteral(
        "历史为空：请点击“读取历史号文本”读入历史号码文本文件，或点击“历史号在线更新”"
        "下载最新历史号码；有了历史之后可在下面的八个框中手动输入新的一期。"));
  }
}

void MainWindow::SetCommandsEnabled(bool enabled) {
  history_->SetCommandsEnabled(enabled);
  pattern_->SetCommandsEnabled(enabled);
  selection_->SetCommandsEnabled(enabled);
  for (QAction* action : historyMenu_->actions()) action->setEnabled(enabled);
  for (const char* name : {"mnuSxCssetup", "mnuDssetup", "mnuCaizhong"}) {
    findChild<QMenu*>(QString::fromLatin1(name))->menuAction()->setEnabled(enabled);
  }
}

}  // namespace zs
