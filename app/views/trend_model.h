// The trend tab's model: the trend grid of a box view, computed a block of
// rows at a time as the view asks for them, so scrolling a history of
// 500,000 draws costs only the rows on screen. Column 0 is 期号, column 1
// 开奖号码 (the draw's numbers in drawn order), column j + 2 the box j; a
// cell that is a hit answers true for HitRole and tells its omission in its
// tool tip, the others are shown grey. It shows the newest rows of the
// view's range from a first row on (a period such as 近100).
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
  // The columns in front of the boxes: 期号 and 开奖号码.
  static constexpr int kLeadColumns = 2;

  using QAbstractTableModel::QAbstractTableModel;

  // Shows `view` from row `firstRow` of its range on; none shows an empty
  // grid. The view's index must outlive the model's use of it or the next
  // SetView.
  void SetView(std::optional<BoxView> view, size_t firstRow = 0);
  const std::optional<BoxView>& view() const { return view_; }
  size_t firstRow() const { return firstRow_; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

 private:
  // The computed rows that hold `row` (of the range), computing them when
  // needed.
  const Grid& BlockOf(size_t row) const;
  QString DrawnNumbers(size_t row) const;

  std::optional<BoxView> view_;
  size_t firstRow_ = 0;
  mutable Grid block_;
  mutable size_t blockFirst_ = 0;
};

}  // namespace zs

#endif  // ZEPHYRSTAT_APP_VIEWS_TREND_MODEL_H_
