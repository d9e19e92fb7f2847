// The results panel: the hit list MSFlexGrid2 of the searches and the
// summary or omission table MSFlexGrid3. A double click on either asks for
// its export; a click on a column of the omission table asks for the table
// sorted by that column. The summary's columns widen to their whole text.
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
  void ShowResult(std::shared_ptr<const GridSource> hitGrid, Grid summaryGrid);

 signals:
  void exportRequested(zs::GridView* grid);
  void omissionColumnClicked(int column);

 private:
  GridView* hits_;
  GridView* summary_;
};

}  // namespace zs

#endif  // ZEPHYRSTAT_APP_RESULTS_PANEL_H_
