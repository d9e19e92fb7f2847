#include "app/history_panel.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QMouseEvent>
#include <QVBoxLayout>

#include "analysis/history_grid.h"
#include "analysis/history_index.h"
#include "app/entry_box.h"
#include "app/grid_view.h"
#include "app/widget_factory.h"

namespace zs {
namespace {

// Grids of this many rows (heading included) or more scroll to the newest draw.
constexpr int kScrollFromGridRows = 40;

}  // namespace

HistoryPanel::HistoryPanel(QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);

  grid_ = GridView::DrawList(QStringLiteral("MSFlexGrid1"), 600, this);
  grid_->FitWidthToColumns();
  grid_->viewport()->installEventFilter(this);
  connect(grid_, &QTableView::doubleClicked, this, &HistoryPanel::gridExportRequested);
  layout->addWidget(grid_, 1);

  const NamedItem<HistoryPanel> buttons[] = {
      {"cmdRdLst", "读取历史号文本(&W)", &HistoryPanel::importRequested},
      {"Command21", "历史号在线更新(&O)", &HistoryPanel::updateRequested},
      {"Command3", "删除最后历史(&D)", &HistoryPanel::deleteLastRequested},
      {"Command4", "历史号码导出文本文件(&O)", &HistoryPanel::exportTextRequested},
      {"Command9", "软件设置(&T)", &HistoryPanel::settingsRequested},
  };
  auto* buttonGrid = new QGridLayout;
  for (size_t i = 0; i < buttons_.size(); ++i) {
    buttons_[i] = MakeCaptioned<QPushButton>(this, QString::fromLatin1(buttons[i].name),
                                             QString::fromUtf8(buttons[i].caption));
    connect(buttons_[i], &QPushButton::clicked, this, buttons[i].member);
  }
  buttons_[0]->setToolTip(
      QStringLiteral("从历史号码文本文件中读取历史号中最后一期之后的新的历史号码"));
  buttons_[1]->setToolTip(QStringLiteral("从官方服务器更新历史号码"));
  buttonGrid->addWidget(buttons_[0], 0, 0);
  buttonGrid->addWidget(buttons_[1], 0, 1);
  buttonGrid->addWidget(buttons_[2], 0, 2);
  buttonGrid->addWidget(buttons_[3], 1, 0, 1, 2);
  buttonGrid->addWidget(buttons_[4], 1, 2);
  layout->addLayout(buttonGrid);

  auto* entry = new QGroupBox(this);
  entry->setObjectName(QStringLiteral("manualEntryFrame"));
  auto* entryLayout = new QGridLayout(entry);
  entryLayout->addWidget(
      MakeCaptioned<QLabel>(entry, QStringLiteral("Label12"),
                            QStringLiteral("在下面输入     2007001 期历史号码:")),
      0, 0, 1, 5);
  nextIssue_ = Make<QLineEdit>(entry, QStringLiteral("Text1"));
  entryLayout->addWidget(nextIssue_, 0, 5, 1, 3);
  for (int box = 1; box <= 8; ++box) {
    auto* edit = new EntryBox(Named("MaskEdBox1", box), QStringLiteral("99"), entry);
    edit->setToolTip(QStringLiteral("在此补充输入最新历史号码"));
    // Only typing that changes a box counts: emptying the boxes in code, or
    // a digit a full box rejects, stores nothing.
    connect(edit, &EntryBox::typedChange, this, [this, box] { OnBoxEdited(box); });
    boxes_[size_t(box - 1)] = edit;
    entryLayout->addWidget(edit, 1, box - 1);
  }
  layout->addWidget(entry);
}

void HistoryPanel::ShowHistory(const HistoryIndex& index, bool threeDigit) {
  grid_->setUpdatesEnabled(false);
  grid_->SetGrid(std::make_shared<const HistoryGrid>(index.Draws(), threeDigit));
  if (int(index.DrawCount()) + 1 >= kScrollFromGridRows) grid_->ScrollToLastRow();
  grid_->setUpdatesEnabled(true);
}

void HistoryPanel::SetNextIssue(const QString& shown) { nextIssue_->setText(shown); }

QString HistoryPanel::nextIssue() const { return nextIssue_->text(); }

void HistoryPanel::ClearEntry() {
  for (EntryBox* box : boxes_) box->clear();
  FocusEntry();
}

void HistoryPanel::FocusEntry(int box) {
  EntryBox* entry = boxes_[size_t(box - 1)];
  entry->setFocus();
  entry->selectAll();
}

void HistoryPanel::SetCommandsEnabled(bool enabled) {
  // All but 软件设置, the last, which only opens the settings menu.
  for (size_t i = 0; i + 1 < buttons_.size(); ++i) buttons_[i]->setEnabled(enabled);
  for (EntryBox* box : boxes_) box->setEnabled(enabled);
}

// A completed box moves on to the next one. The draw is offered when the
// last box is completed (an empty box then gets its refusal) and whenever
// an edit completes a box while every box holds a number, so correcting
// the box a refusal named stores the draw at once.
void HistoryPanel::OnBoxEdited(int box) {
  EntryBox* edited = boxes_[size_t(box - 1)];
  if (!edited->IsComplete()) return;
  Numbers numbers{};
  bool allHoldANumber = true;
  for (int i = 0; i < kPositions; ++i) {
    numbers[size_t(i)] = boxes_[size_t(i)]->LeadingNumber();
    allHoldANumber = allHoldANumber && boxes_[size_t(i)]->displayText().front().isDigit();
  }
  if (allHoldANumber || box == kPositions) {
    emit drawTyped(numbers);
    return;
  }
  if (box < kPositions) {
    EntryBox* next = boxes_[size_t(box)];
    next->setFocus();
    next->setCursorPosition(0);
  }
}

bool HistoryPanel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == grid_->viewport() && event->type() == QEvent::MouseButtonRelease) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::RightButton) {
      emit historyMenuRequested(mouse->globalPosition().toPoint());
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace zs
