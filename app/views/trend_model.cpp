#include "app/views/trend_model.h"

#include <QBrush>
#include <QColor>

#include "analysis/draw_set.h"
#include "analysis/history_index.h"
#include "analysis/trend_grid.h"

namespace zs {

void TrendModel::SetView(std::optional<BoxView> view, size_t firstRow) {
  beginResetModel();
  view_ = std::move(view);
  firstRow_ = view_ ? std::min(firstRow, view_->RowCount()) : 0;
  block_ = Grid();
  blockFirst_ = 0;
  endResetModel();
}

int TrendModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() || !view_ ? 0 : static_cast<int>(view_->RowCount() - firstRow_);
}

int TrendModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() || !view_ ? 0 : view_->BoxCount() + kLeadColumns;
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

QString TrendModel::DrawnNumbers(size_t row) const {
  const size_t draw = view_->span().begin + row;
  QString numbers;
  for (int position = 0; position < kPositions; ++position) {
    if (position > 0) numbers += QLatin1Char(' ');
    numbers += QStringLiteral("%1").arg(view_->index().Field(draw, SearchType::kNumber, position),
                                        2, 10, QLatin1Char('0'));
  }
  return numbers;
}

QVariant TrendModel::data(const QModelIndex& index, int role) const {
  if (!view_ || !index.isValid()) return {};
  const size_t row = firstRow_ + static_cast<size_t>(index.row());
  const int column = index.column();
  const int box = column - kLeadColumns;
  const auto hit = [&] {
    const DrawSet* draws = box < 0 ? nullptr : view_->Draws(box);
    return draws != nullptr && draws->Contains(view_->span().begin + row);
  };
  switch (role) {
    case Qt::DisplayRole: {
      if (column == 1) return DrawnNumbers(row);
      // The grid has no 开奖号码: its box columns start at 1.
      const size_t gridColumn = column == 0 ? 0 : size_t(box) + 1;
      const std::string_view cell = BlockOf(row).Cell(row - blockFirst_, gridColumn);
      return QString::fromUtf8(cell.data(), qsizetype(cell.size()));
    }
    case kHitRole:
      return hit();
    case Qt::ToolTipRole:
      if (!hit()) return {};
      return QStringLiteral("出现，遗漏 %1 期（距上次出现）")
          .arg(TrendHitOmission(*view_, row, box));
    case Qt::ForegroundRole:
      return column < kLeadColumns ? QVariant() : QBrush(QColor(150, 150, 150));
    case Qt::TextAlignmentRole:
      return int(Qt::AlignCenter);
    default:
      return {};
  }
}

QVariant TrendModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal || !view_) return {};
  if (section == 0) return QStringLiteral("期号");
  if (section == 1) return QStringLiteral("开奖号码");
  return QString::fromStdString(view_->Label(section - kLeadColumns));
}

}  // namespace zs
