// The trend tab's model: the trend grid of a box view, computed a block of
// rows at a time as the view asks for them, so scrolling a history of
// 500,000 draws costs only the rows on screen. Column 0 is 期号, column
// j the box j; a cell that is a hit answers true for HitRole, the others
// are shown grey.
#ifndef ZEPHYRSTAT_APP_VIEWS_TREND_MODEL_H_
#define ZEPHYRSTAT_APP_VIEWS_TREND_MODEL_H_

#include <QAbstractTableModel>
#include <optional>

#include "analysis/box_view.h"
#include "core/grid.h"

namespace zs {

class TrendModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  static constexpr int kHitRole = Qt::UserRole + 1;
  // Rows computed at once around a requested row: a few screenfuls.
  static constexpr size_t kBlockRows = 256;

  using QAbstractTableModel::QAbstractTableModel;

  // Shows `view`; none shows an empty grid. The view's index must outlive
  // the model's use of it or the next SetView.
  void SetView(std::optional<BoxView> view);
  const std::optional<BoxView>& view() const { return view_; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

 private:
  // The computed rows that hold `row`, computing them when needed.
  const Grid& BlockOf(size_t row) const;

  std::optional<BoxView> view_;
  mutable Grid block_;
  mutable size_t blockFirst_ = 0;
};

}  // namespace zs

#endif  // ZEPHYRSTAT_APP_VIEWS_TREND_MODEL_H_
