// Keeps the first columns of a table in place while it scrolls sideways:
// a second view over the same model and selection that shows only those
// columns, laid over the table's left edge, as wide as they are and
// scrolled up and down with the table. The table's own copies of those
// columns slide under it.
//
// Precondition: the table has its model before; the model stays the same.
#ifndef ZEPHYRSTAT_APP_VIEWS_FROZEN_COLUMNS_H_
#define ZEPHYRSTAT_APP_VIEWS_FROZEN_COLUMNS_H_

#include <QObject>

class QTableView;

namespace zs {

class FrozenColumns : public QObject {
  Q_OBJECT

 public:
  // Owned by `table`.
  FrozenColumns(QTableView* table, int count);

  QTableView* view() const { return frozen_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Shows only the frozen columns, at the table's widths, over its left edge.
  void Follow();

  QTableView* table_;
  QTableView* frozen_;
  int count_;
};

}  // namespace zs

#endif  // ZEPHYRSTAT_APP_VIEWS_FROZEN_COLUMNS_H_
