// A read-only table model over a zs::Grid, so a QTableView shows an engine
// grid without copying its cells: a history of 500,000 draws opens and
// scrolls at once. The heading row of the grid is the view's header; a
// cell's tool tip is its whole text. The grid is held as an immutable
// snapshot, so a worker thread (an export) keeps reading its snapshot while
// the model moves on to a new grid.
#ifndef ZEPHYRSTAT_APP_GRID_MODEL_H_
#define ZEPHYRSTAT_APP_GRID_MODEL_H_

#include <QAbstractTableModel>
#include <memory>

#include "core/grid.h"

namespace zs {

class GridModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  using QAbstractTableModel::QAbstractTableModel;

  const Grid& grid() const { return *grid_; }
  std::shared_ptr<const Grid> snapshot() const { return grid_; }
  void SetGrid(Grid grid);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

 private:
  std::shared_ptr<const Grid> grid_ = std::make_shared<const Grid>();
};

}  // namespace zs

#endif  // ZEPHYRSTAT_APP_GRID_MODEL_H_
