#include "app/main_window.h"
#include "core/derivation.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QFont>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStatusBar>
#include <QTabBar>

#include "analysis/draw_pattern.h"
#include "analysis/history_grid.h"
#include "analysis/result_grids.h"
#include "app/common/settings_store.h"
#include "app/wheel_scroller.h"
#include "core/errors.h"
#include "core/issue_number.h"
#include "core/text.h"

namespace zs {
namespace {

// Grids of this many rows (heading included) or more scroll to the newest draw.
constexpr int kScrollFromGridRows = 40;

// The integer a pattern box holds; nullopt for an empty or unconvertible text
// or one beyond the 16-bit values a pattern position keeps.
std::optional<int> PatternBoxValue(const QString& text) {
  return ParseWhole<int16_t>(text.toStdString());
}

}  // namespace

MainWindow::MainWindow(std::filesystem::path dataFolder, std::unique_ptr<Dialogs> dialogs,
                       QWidget* parent)
    : QMainWindow(parent), dataFolder_(std::move(dataFolder)), dialogs_(std::move(dialogs)) {
  // Captions use 宋体; on Linux it stands for the installed CJK font.
  QFont::insertSubstitution(QStringLiteral("宋体"), QStringLiteral("WenQuanYi Zen Hei"));
  QFont font(QStringLiteral("宋体"));
  font.setPointSize(10);
  setFont(font);
  setWindowTitle(QStringLiteral("Zephyrstat 泽风统计 — 快乐十分遗漏分析"));

  BuildControls();
  BuildMenus();
  // Wide enough for every column of the hit list, as far as the screen allows.
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    resize(QSize(1520, 900).boundedTo(screen->availableGeometry().size()));
  }
  // Shown from the start, so the window's messages always have their place.
  statusBar()->show();

  for (int index = 0; index < 4; ++index) {
    connect(option1_[index], &QRadioButton::clicked, this,
            [this, index] { OnPositionMode(index); });
  }
  for (int index : {4, 5}) {
    connect(option2_[index], &QRadioButton::clicked, this, &MainWindow::OnNumberOrder);
  }
  for (int type = 0; type < 6; ++type) {
    connect(option3_[type], &QRadioButton::clicked, this, [this, type] { OnSearchType(type); });
  }
  connect(tabStrip1_, &QTabBar::currentChanged, this, &MainWindow::OnTab);
  connect(check4_, &QCheckBox::clicked, this, &MainWindow::OnCheck4);
  text4_->installEventFilter(this);
  for (int box = 1; box <= 20; ++box) {
    connect(check6_[box], &QCheckBox::clicked, this, [this, box] { OnSelectionBox(box); });
  }
  for (int index = 0; index < 3; ++index) {
    connect(cmdZH_[index], &QPushButton::clicked, this,
            [this, index] { OnSelectionButton(index); });
  }
  connect(command9_, &QPushButton::clicked, this, &MainWindow::OnSettingsButton);
  for (int box = 1; box <= 8; ++box) {
    connect(maskEdBox1_[box], &QLineEdit::textChanged, this,
            [this, box] { OnManualEntryChanged(box); });
  }
  connect(command1_, &QPushButton::clicked, this, &MainWindow::OnPositionSearch);
  connect(command2_, &QPushButton::clicked, this, &MainWindow::OnPartialSearch);
  connect(command5_, &QPushButton::clicked, this, &MainWindow::OnGroupCalculation);
  connect(grid3_, &QTableView::clicked, this,
          [this](const QModelIndex& index) { OnOmissionTableClick(index.column()); });
  connect(grid3_->horizontalHeader(), &QHeaderView::sectionClicked, this,
          &MainWindow::OnOmissionTableClick);
  connect(command3_, &QPushButton::clicked, this, &MainWindow::OnDeleteLast);
  connect(command4_, &QPushButton::clicked, this, &MainWindow::OnExportText);
  connect(cmdRdLst_, &QPushButton::clicked, this, &MainWindow::OnImportText);
  connect(command21_, &QPushButton::clicked, this, &MainWindow::OnOnlineUpdate);
  for (GridView* grid : {grid1_, grid2_, grid3_}) {
    connect(grid, &QTableView::doubleClicked, this, [this, grid] { OnExportGrid(grid); });
  }

  BuildViewHooks();
  wheel_ = new WheelScroller({grid1_, grid2_, grid3_}, this);
  qApp->installEventFilter(wheel_);

  StartUp();
}

MainWindow::~MainWindow() = default;

// ---------------------------------------------------------------- start-up

void MainWindow::StartUp() {
  settings_ = LoadSettings();
  CheckStartMenus();
  OpenDatabase();
  ApplyStartOption(option1_[1], settings_.bolZyw);
  ApplyStartOption(option1_[0], !settings_.bolZyw);
  combo1_->setEditText(QString::number(settings_.intZhWSetup));
  grid3_->SetColumnTwips(0, 1880);
  for (int column = 1; column <= 3; ++column) grid3_->SetColumnTwips(column, 880);
  QihaoXianshi();
  ApplyStartOption(option2_[4], settings_.bolLdm);
  ApplyStartOption(option2_[5], !settings_.bolLdm);
  if (settings_.intLei >= 0 && settings_.intLei < 6) {
    ApplyStartOption(option3_[size_t(settings_.intLei)], true);
  }
  SetRangeToHistory();
  PatternRefresh();
  AddHaoma();
  // The result grids show their headings before the first analysis.
  grid2_->SetGrid(HitListGrid(index_, {}, SearchType::kNumber, ShowRules{}));
  grid3_->SetGrid(OmissionTableGrid({}));
  if (index_.DrawCount() > 0) ShowHistorySummary();
}

void MainWindow::CheckStartMenus() {
  for (int edition = 0; edition < 8; ++edition) {
    mnuKL10_[size_t(edition)]->setChecked(edition == settings_.gsZl);
  }
  for (int item = 0; item < 2; ++item) {
    mnuDscs_[size_t(item)]->setChecked(item == settings_.dsIni);
    mnuBscs_[size_t(item)]->setChecked(item == settings_.bsIni);
    mnuSxcs_[size_t(item)]->setChecked(item == settings_.sxIni);
  }
}

void MainWindow::OpenDatabase() {
  try {
    store_ = HistoryStore::OpenFolder(dataFolder_);
    // A base change that a crash cut short is finished before the rows are
    // read.
    if (store_->FollowBases(DerivationRules::From(settings_))) {
      ShowStatus(QStringLiteral("历史号码已按当前的生肖和分段参数重新计算。"));
    }
    ReloadIndex();
  } catch (const std::exception& error) {
    store_.reset();
    ShowStatus(QStringLiteral("无法打开历史数据库 %1：%2")
                   .arg(QString::fromStdU16String((dataFolder_ / kHistoryFileName).u16string()),
                        QString::fromUtf8(error.what())));
  }
}

// A saved option that is not already on is clicked, which runs its handler
// exactly as the user's click would; one already on runs nothing.
void MainWindow::ApplyStartOption(QRadioButton* button, bool on) {
  if (on && !button->isChecked()) button->click();
}

// ----------------------------------------------------------- history views

QString MainWindow::ShownIssueText(int32_t stored) const {
  return QString::fromStdString(ShownIssue(stored, IssueRule::From(settings_).threeDigit));
}

void MainWindow::ShowStatus(const QString& text) { statusBar()->showMessage(text); }

void MainWindow::ShowEmptyHistoryHint() {
  ShowStatus(
      QStringLiteral("历史为空：请点击“读取历史号文本”读入历史号码文本文件，或点击“历史号在线更新”"
                     "下载最新历史号码；"
                     "有了历史之后可在下面的八个框中手动输入新的一期。"));
}

void MainWindow::ShowHistorySummary() {
  ShowStatus(QStringLiteral("历史号码共 %1 期，从 %2 到 %3；下一期 %4。")
                 .arg(index_.DrawCount())
                 .arg(ShownIssueText(index_.Issue(0)),
                      ShownIssueText(index_.Issue(index_.DrawCount() - 1)), text1_->text()));
}

void MainWindow::ReloadIndex() { index_ = store_ ? HistoryIndex(*store_) : HistoryIndex(); }

// The history grid shows the index, which every change of the history keeps
// equal to the stored table, so the table is read once per change.
void MainWindow::AddHaoma() {
  std::vector<Draw> draws(index_.DrawCount());
  for (size_t draw = 0; draw < draws.size(); ++draw) {
    draws[draw].issue = index_.Issue(draw);
    for (int p = 0; p < kPositions; ++p) {
      draws[draw].numbers[size_t(p)] = index_.Field(draw, SearchType::kNumber, p);
    }
  }
  grid1_->setUpdatesEnabled(false);
  grid1_->SetGrid(HistoryGrid(draws, IssueRule::From(settings_).threeDigit));
  if (int(draws.size()) + 1 >= kScrollFromGridRows) grid1_->ScrollToLastRow();
  grid1_->setUpdatesEnabled(true);
  if (store_ && draws.empty()) ShowEmptyHistoryHint();
  emit historyChanged();
}

void MainWindow::QihaoXianshi() {
  if (index_.DrawCount() == 0) return;
  const int32_t last = index_.Issue(index_.DrawCount() - 1);
  text1_->setText(ShownIssueText(FollowingIssue(last, IssueRule::From(settings_))));
  text4_->setText(ShownIssueText(last));
}

void MainWindow::SetRangeToHistory() {
  if (index_.DrawCount() == 0) return;
  text3_[0]->setText(ShownIssueText(index_.Issue(0)));
  text3_[1]->setText(ShownIssueText(index_.Issue(index_.DrawCount() - 1)));
}

void MainWindow::ResetRangeStart() {
  if (index_.DrawCount() > 0) text3_[0]->setText(ShownIssueText(index_.Issue(0)));
}

void MainWindow::ShowLastIssueAsRangeEnd() {
  if (index_.DrawCount() > 0) {
    text3_[1]->setText(ShownIssueText(index_.Issue(index_.DrawCount() - 1)));
  }
}

void MainWindow::PatternRefresh() {
  if (tabStrip1_->currentIndex() == 1) {
    Ysjs();
    manualTab_ = false;
    return;
  }
  manualTab_ = true;
  for (int position = 1; position <= 8; ++position) {
    if (auto value = PatternBoxValue(text22_[position]->text())) pattern_[position - 1] = *value;
  }
}

void MainWindow::Ysjs() {
  const IssueRule rule = IssueRule::From(settings_);
  const QString chosenText = text4_->text().trimmed().right(rule.threeDigit ? 9 : 8);
  if (check4_->isChecked()) {
    if (auto end = RangeEndBefore(text4_->text().trimmed().toStdString(), rule)) {
      text3_[1]->setText(ShownIssueText(*end));
    }
  } else {
    ShowLastIssueAsRangeEnd();
  }
  const std::optional<int32_t> chosen = ParseWhole<int32_t>(chosenText.toStdString());
  // An issue before every stored one leaves no draw to take the pattern
  // from; the previous pattern stays.
  const std::optional<size_t> draw = chosen ? DrawAtOrBefore(index_, *chosen) : std::nullopt;
  manualTab_ = false;
  if (!draw) return;
  SearchPattern taken;
  taken.type = static_cast<SearchType>(settings_.intLei);
  TakePatternFromDraw(index_, *draw, settings_.sxIni, taken);
  for (int position = 1; position <= 8; ++position) {
    pattern_[position - 1] = taken.values[size_t(position - 1)];
    text2_[position]->setText(QString::fromStdString(taken.boxTexts[size_t(position - 1)]));
  }
}

// ------------------------------------------------- view modes and pattern

void MainWindow::OnPositionMode(int index) {
  if (index == 0 || index == 1) settings_.bolZyw = index == 1;
  RememberSetting(SettingKey::kBolZyw);
  PatternRefresh();
  ResetRangeStart();
}

void MainWindow::OnNumberOrder() {
  settings_.bolLdm = option2_[4]->isChecked();
  RememberSetting(SettingKey::kBolLdm);
  PatternRefresh();
}

void MainWindow::OnSearchType(int index) {
  settings_.intLei = index;
  panel_.ClearAll();
  ShowSelection();
  PatternRefresh();
  RememberSetting(SettingKey::kIntLei);
  panel_.ChangeType(static_cast<SearchType>(index));
  RelabelSelectionBoxes();
}

void MainWindow::OnTab(int tab) {
  const bool manual = tab == 0;
  manualFrame_->setVisible(manual);
  chosenFrame_->setVisible(!manual);
  text4_->setVisible(!manual);
  check4_->setVisible(!manual);
  if (!manual) {
    Ysjs();
    return;
  }
  manualTab_ = true;
  for (int position = 1; position <= 8; ++position) {
    if (auto value = PatternBoxValue(text22_[position]->text())) pattern_[position - 1] = *value;
  }
  ShowLastIssueAsRangeEnd();
}

void MainWindow::OnPatternBoxEdited(int position) {
  if (auto value = PatternBoxValue(text22_[position]->text())) pattern_[position - 1] = *value;
}

void MainWindow::OnCheck4() {
  if (!check4_->isChecked()) {
    ShowLastIssueAsRangeEnd();
    return;
  }
  if (auto end =
          RangeEndBefore(text4_->text().trimmed().toStdString(), IssueRule::From(settings_))) {
    text3_[1]->setText(ShownIssueText(*end));
  }
}

// ----------------------------------------------------------- selection panel

PanelBases MainWindow::Bases() const { return PanelBases{settings_.sxIni, settings_.dsIni}; }

void MainWindow::OnSelectionBox(int box) {
  panel_.SetChecked(box, check6_[box]->isChecked());
  ShowSelection();
}

void MainWindow::OnSelectionButton(int index) {
  if (index == 0) panel_.SelectAll();
  if (index == 1) panel_.ClearAll();
  if (index == 2) panel_.Invert();
  ShowSelection();
}

void MainWindow::ShowSelection() {
  for (int box = 1; box <= kSelectionBoxes; ++box) check6_[box]->setChecked(panel_.Checked(box));
  text5_->setText(QString::number(panel_.SelectedCount()));
}

void MainWindow::RelabelSelectionBoxes() {
  const SearchType type = panel_.type();
  for (int box = 1; box <= kSelectionBoxes; ++box) {
    const bool shown = box <= ShownBoxCount(type);
    if (shown) check6_[box]->setText(QString::fromStdString(BoxCaption(type, box, Bases())));
    check6_[box]->setVisible(shown);
  }
  ShowSelection();
}

// ------------------------------------------------------------------ events

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonRelease:
      if (watched == grid1_->viewport() &&
          static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        mnuLsgl_->popup(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
        return true;
      }
      break;
    case QEvent::KeyPress: {
      const auto* key = static_cast<QKeyEvent*>(event);
      for (int box = 1; box <= 8; ++box) {
        if (watched == maskEdBox1_[box]) entryClearing_ = false;
      }
      for (int position = 1; position <= 8; ++position) {
        if (watched != text22_[position] || key->text().isEmpty()) continue;
        const QChar typed = key->text().front();
        const bool accepted = typed == u'\b' || QStringLiteral("-0123456789").contains(typed);
        return !accepted;
      }
      break;
    }
    case QEvent::FocusOut: {
      if (static_cast<QFocusEvent*>(event)->reason() == Qt::PopupFocusReason) break;
      for (int position = 1; position <= 8; ++position) {
        if (watched == text22_[position]) OnPatternBoxEdited(position);
      }
      if (watched == text4_) Ysjs();
      if (watched == combo1_) OnCombo1FocusLost();
      break;
    }
    default:
      break;
  }
  return QMainWindow::eventFilter(watched, event);
}

}  // namespace zs
