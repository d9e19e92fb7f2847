#include "app/views/trend_cell_delegate.h"

#include <QPainter>

#include "app/views/trend_model.h"

namespace zs {

void TrendCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
  if (!index.data(TrendModel::kHitRole).toBool()) {
    QStyledItemDelegate::paint(painter, option, index);
    return;
  }
  // Alternate two colours by column, as a paper trend chart does, so a
  // player's eye can follow one column down the grid.
  static const QColor kColours[] = {QColor(214, 48, 49), QColor(33, 99, 186)};
  const QColor colour = kColours[index.column() % 2];
  QFont font = option.font;
  font.setBold(true);
  const QString label = index.data().toString();
  // A circle, or a pill as wide as a longer label ("130-139", "1:2:3:2").
  const int diameter = qMin(option.rect.width(), option.rect.height()) - 2;
  const int width =
      qBound(diameter, QFontMetrics(font).horizontalAdvance(label) + 8, option.rect.width() - 2);
  QRect mark(0, 0, width, diameter);
  mark.moveCenter(option.rect.center());
  painter->save();
  painter->setRenderHint(QPainter::Antialiasing);
  painter->setPen(Qt::NoPen);
  painter->setBrush(colour);
  painter->drawRoundedRect(mark, diameter / 2.0, diameter / 2.0);
  painter->setPen(Qt::white);
  painter->setFont(font);
  painter->drawText(option.rect, Qt::AlignCenter, label);
  painter->restore();
}

}  // namespace zs
