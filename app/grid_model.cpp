#include "app/grid_model.h"

#include <QString>

namespace zs {

void GridModel::SetGrid(Grid grid) { SetGrid(std::make_shared<const Grid>(std::move(grid))); }

void GridModel::SetGrid(std::shared_ptr<const GridSource> grid) {
  beginResetModel();
  grid_ = std::move(grid);
  endResetModel();
}

int GridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(grid_->RowCount());
}

int GridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(grid_->ColumnCount());
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
  if ((role != Qt::DisplayRole && role != Qt::ToolTipRole) || !index.isValid()) return {};
  const std::string_view cell =
      grid_->CellText(size_t(index.row()), size_t(index.column()), scratch_);
  return QString::fromUtf8(cell.data(), qsizetype(cell.size()));
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Vertical) return section + 1;
  if (section < 0 || size_t(section) >= grid_->ColumnCount()) return {};
  return QString::fromStdString(grid_->Headings()[size_t(section)]);
}

}  // namespace zs
