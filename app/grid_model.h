// A read-only table model over an engine grid (a zs::GridSource), so a
// QTableView shows it without copying its cells: a cell is read (and, for a
// grid formatted on demand, formatted) only when the view paints it, so a
// history of 500,000 draws opens and scrolls at once. The heading row of the
// grid is the view's header; a cell's tool tip is its whole text. The grid is
// held as an immutable snapshot, so a worker thread (an export) keeps reading
// its snapshot while the model moves on to a new grid.
#ifndef ZEPHYRSTAT_APP_GRID_MODEL_H_
#define ZEPHYRSTAT_APP_GRID_MODEL_H_

#include <QAbstractTableModel>
#include <memory>
#include <string>

#include "core/grid.h"

namespace zs {

class GridModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  using QAbstractTableModel::QAbstractTableModel;

  const GridSource& grid() const { return *grid_; }
  std::shared_ptr<const GridSource> snapshot() const { return grid_; }
  void SetGrid(Grid grid);
  void SetGrid(std::shared_ptr<const GridSource> grid);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

 private:
  std::shared_ptr<const GridSource> grid_ = std::make_shared<const Grid>();
  mutable std::string scratch_;  // the cell being read; the model lives on the window's thread
};

}  // namespace zs

#endif  // ZEPHYRSTAT_APP_GRID_MODEL_H_
