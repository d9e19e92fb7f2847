// Paints the hit cells of the trend tab as filled coloured circles with the
// box's label in white; other cells are painted as usual (grey counts).
#ifndef ZEPHYRSTAT_APP_VIEWS_TREND_CELL_DELEGATE_H_
#define ZEPHYRSTAT_APP_VIEWS_TREND_CELL_DELEGATE_H_

#include <QStyledItemDelegate>

namespace zs {

class TrendCellDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
};

}  // namespace zs

#endif  // ZEPHYRSTAT_APP_VIEWS_TREND_CELL_DELEGATE_H_
