// A read-only table model over a zs::Grid, so a QTableView shows an engine
// grid without copying its cells: a history of 500,000 draws opens and
// scrolls at once. The heading row of the grid is the view's header.
#ifndef ZEPHYRSTAT_APP_GRID_MODEL_H_
#define ZEPHYRSTAT_APP_GRID_MODEL_H_

#include <QAbstractTableModel>

#include "core/grid.h"

namespace zs {

class GridModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  using QAbstractTableModel::QAbstractTableModel;

  const Grid& grid() const { return grid_; }
  void SetGrid(Grid grid);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

 private:
  Grid grid_;
};

}  // namespace zs

#endif  // ZEPHYRSTAT_APP_GRID_MODEL_H_
