#include "app/selection_panel_widget.h"

#include <QGridLayout>

#include "app/widget_factory.h"
#include "core/text.h"

namespace zs {

SelectionPanelWidget::SelectionPanelWidget(QWidget* parent) : QGroupBox(parent) {
  setObjectName(QStringLiteral("selectionFrame"));
  setTitle(QStringLiteral("组合检索"));
  auto* layout = new QGridLayout(this);
  for (int box = 1; box <= kSelectionBoxes; ++box) {
    QCheckBox* check = MakeCaptioned<QCheckBox>(this, Named("Check6", box),
                                                QStringLiteral("%1").arg(box, 2, 10, QChar(u'0')));
    connect(check, &QCheckBox::clicked, this, [this, box](bool checked) {
      panel_.SetChecked(box, checked);
      Show();
    });
    // A type with fewer boxes hides the rest but keeps their place, so the
    // buttons below stay under the cursor when the type changes.
    QSizePolicy keepPlace = check->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    check->setSizePolicy(keepPlace);
    boxes_[size_t(box - 1)] = check;
    layout->addWidget(check, (box - 1) / 5, (box - 1) % 5);
  }
  const char* captions[] = {"全选", "清空", "反选"};
  void (SelectionPanel::*actions[])() = {&SelectionPanel::SelectAll, &SelectionPanel::ClearAll,
                                         &SelectionPanel::Invert};
  for (int index = 0; index < 3; ++index) {
    auto* button =
        MakeCaptioned<QPushButton>(this, Named("cmdZH", index), QString::fromUtf8(captions[index]));
    connect(button, &QPushButton::clicked, this, [this, action = actions[index]] {
      (panel_.*action)();
      Show();
    });
    layout->addWidget(button, 4, index);
  }
  count_ = Make<QLineEdit>(this, QStringLiteral("Text5"));
  count_->setText(QStringLiteral("0"));
  count_->setReadOnly(true);
  layout->addWidget(count_, 4, 3, 1, 2);
  layout->addWidget(
      MakeCaptioned<QLabel>(this, QStringLiteral("Label5"), QStringLiteral("组合位数")), 5, 0);
  groupSizeBox_ = MakeSizeCombo(this, QStringLiteral("Combo2"));
  layout->addWidget(groupSizeBox_, 5, 1);
  calculate_ =
      MakeCaptioned<QPushButton>(this, QStringLiteral("Command5"), QStringLiteral("分组计算(&P)"));
  connect(calculate_, &QPushButton::clicked, this,
          &SelectionPanelWidget::groupCalculationRequested);
  layout->addWidget(calculate_, 5, 2, 1, 3);
}

void SelectionPanelWidget::ChangeType(SearchType type, const PanelBases& bases) {
  panel_.ClearAll();
  panel_.ChangeType(type);
  Relabel(bases);
}

void SelectionPanelWidget::Relabel(const PanelBases& bases) {
  const SearchType type = panel_.type();
  for (int box = 1; box <= kSelectionBoxes; ++box) {
    QCheckBox* check = boxes_[size_t(box - 1)];
    const bool shown = box <= ShownBoxCount(type);
    if (shown) check->setText(QString::fromStdString(BoxCaption(type, box, bases)));
    check->setVisible(shown);
  }
  Show();
}

void SelectionPanelWidget::Show() {
  for (int box = 1; box <= kSelectionBoxes; ++box) {
    boxes_[size_t(box - 1)]->setChecked(panel_.Checked(box));
  }
  count_->setText(QString::number(panel_.SelectedCount()));
}

GroupRequest SelectionPanelWidget::Request(const PanelBases& bases) {
  GroupRequest request;
  request.type = panel_.type();
  for (int box = 1; box <= kSelectionBoxes; ++box) {
    if (panel_.Checked(box)) request.checkedBoxes.push_back(box);
  }
  if (const auto typedSize = ParseWhole<int>(groupSizeBox_->currentText().toStdString())) {
    groupSize_ = *typedSize;
  }
  request.groupSize = groupSize_;
  request.bases = bases;
  return request;
}

void SelectionPanelWidget::SetCommandsEnabled(bool enabled) { calculate_->setEnabled(enabled); }

}  // namespace zs
