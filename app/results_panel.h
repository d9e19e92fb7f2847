// The results panel: the hit list MSFlexGrid2 of the searches and the
// summary or omission table MSFlexGrid3. A double click on either asks for
// its export; a click on a column of the omission table asks for the table
// sorted by that column's key: a click on the heading that sorts it asks for the
// other direction, a click on a cell keeps the direction shown. The heading
// shows the order with an arrow. The summary's columns widen to their whole
// text.
#ifndef ZEPHYRSTAT_APP_RESULTS_PANEL_H_
#define ZEPHYRSTAT_APP_RESULTS_PANEL_H_

#include <QWidget>
#include <memory>
#include <optional>

#include "core/grid.h"
#include "store/omission_table.h"

namespace zs {

class GridView;

class ResultsPanel : public QWidget {
  Q_OBJECT

 public:
  explicit ResultsPanel(QWidget* parent);

  GridView* hits() const { return hits_; }
  GridView* summary() const { return summary_; }
  // A search's grids: the summary has no sort order.
  void ShowResult(std::shared_ptr<const GridSource> hitGrid, Grid summaryGrid);
  // The omission table in the summary grid, in the order of `key` and `direction`.
  void ShowOmissionTable(Grid table, OmissionSortKey key, SortDirection direction);

 signals:
  void exportRequested(zs::GridView* grid);
  void omissionOrderRequested(zs::OmissionSortKey key, zs::SortDirection direction);

 private:
  void OnOmissionClick(int column, bool onHeading);
  void ShowSortIndicator();

  GridView* hits_;
  GridView* summary_;
  // The omission table's order; no key while the summary shows no omission table.
  std::optional<OmissionSortKey> sortKey_;
  SortDirection direction_ = SortDirection::kAscending;
};

}  // namespace zs

#endif  // ZEPHYRSTAT_APP_RESULTS_PANEL_H_
