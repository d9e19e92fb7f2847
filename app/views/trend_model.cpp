#include "app/views/trend_model.h"

#include <QBrush>
#include <QColor>

#include "analysis/draw_set.h"
#include "analysis/trend_grid.h"

namespace zs {

void TrendModel::SetView(std::optional<BoxView> view) {
  beginResetModel();
  view_ = std::move(view);
  block_ = Grid();
  blockFirst_ = 0;
  endResetModel();
}

int TrendModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() || !view_ ? 0 : static_cast<int>(view_->RowCount());
}

int TrendModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() || !view_ ? 0 : view_->BoxCount() + 1;
}

const Grid& TrendModel::BlockOf(size_t row) const {
  if (row < blockFirst_ || row >= blockFirst_ + block_.RowCount()) {
    // The block starts half a block above the row, so scrolling either way
    // stays inside it for a while.
    blockFirst_ = row > kBlockRows / 2 ? row - kBlockRows / 2 : 0;
    block_ = TrendGrid(*view_, blockFirst_, kBlockRows);
  }
  return block_;
}

QVariant TrendModel::data(const QModelIndex& index, int role) const {
  if (!view_ || !index.isValid()) return {};
  const auto row = static_cast<size_t>(index.row());
  const int column = index.column();
  switch (role) {
    case Qt::DisplayRole: {
      const std::string_view cell = BlockOf(row).Cell(row - blockFirst_, size_t(column));
      return QString::fromUtf8(cell.data(), qsizetype(cell.size()));
    }
    case kHitRole: {
      if (column == 0) return false;
      const DrawSet* draws = view_->Draws(column - 1);
      return draws != nullptr && draws->Contains(view_->span().begin + row);
    }
    case Qt::ForegroundRole:
      return column == 0 ? QVariant() : QBrush(QColor(150, 150, 150));
    case Qt::TextAlignmentRole:
      return int(Qt::AlignCenter);
    default:
      return {};
  }
}

QVariant TrendModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal || !view_) return {};
  if (section == 0) return QStringLiteral("期号");
  return QString::fromStdString(view_->Label(section - 1));
}

}  // namespace zs
