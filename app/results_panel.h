// The results panel: the hit list MSFlexGrid2 of the searches and the
// summary or omission table MSFlexGrid3. A double click on either asks for
// its export; a click on a column of the omission table asks for the table
// sorted by that column: a click on the heading that sorts it asks for the
// other direction, a click on a cell keeps the direction shown. The heading
// shows the order with an arrow. The summary's columns widen to their whole
// text.
#ifndef ZEPHYRSTAT_APP_RESULTS_PANEL_H_
#define ZEPHYRSTAT_APP_RESULTS_PANEL_H_

#include <QWidget>
#include <memory>

#include "core/grid.h"

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
  // The omission table in the summary grid, sorted by `column` (1..4).
  void ShowOmissionTable(Grid table, int column, bool descending);

 signals:
  void exportRequested(zs::GridView* grid);
  void omissionOrderRequested(int column, bool descending);

 private:
  void OnOmissionClick(int column, bool onHeading);
  void ShowSortIndicator();

  GridView* hits_;
  GridView* summary_;
  int sortColumn_ = -1;  // the omission table's, -1 while the summary shows none
  bool descending_ = false;
};

}  // namespace zs

#endif  // ZEPHYRSTAT_APP_RESULTS_PANEL_H_
