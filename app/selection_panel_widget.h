// The selection panel "组合检索": the twenty boxes Check6_1 … 20 labelled for
// the search type, 全选/清空/反选 (cmdZH_0 … 2), the count Text5, the group
// size Combo2 and 分组计算 Command5. It owns which boxes are checked and the
// group size of the last run (a size that is not a whole number keeps it).
#ifndef ZEPHYRSTAT_APP_SELECTION_PANEL_WIDGET_H_
#define ZEPHYRSTAT_APP_SELECTION_PANEL_WIDGET_H_

#include <QGroupBox>
#include <array>

#include "analysis/group_calculation.h"
#include "analysis/selection_panel.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace zs {

class SelectionPanelWidget : public QGroupBox {
  Q_OBJECT

 public:
  explicit SelectionPanelWidget(QWidget* parent);

  // A new search type clears the boxes and labels them for it.
  void ChangeType(SearchType type, const PanelBases& bases);
  // The boxes labelled anew under changed bases, when the type depends on them.
  void Relabel(const PanelBases& bases);
  // The request of 分组计算 but for its range boxes.
  GroupRequest Request(const PanelBases& bases);
  void SetCommandsEnabled(bool enabled);

 signals:
  void groupCalculationRequested();

 private:
  void Show();

  SelectionPanel panel_;
  int groupSize_ = 0;
  std::array<QCheckBox*, kSelectionBoxes> boxes_{};
  QLineEdit* count_ = nullptr;
  QComboBox* groupSizeBox_ = nullptr;
  QPushButton* calculate_ = nullptr;
};

}  // namespace zs

#endif  // ZEPHYRSTAT_APP_SELECTION_PANEL_WIDGET_H_
