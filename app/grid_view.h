// The window's grids: a QTableView over a GridModel that scrolls one row at
// a time (so a wheel notch and the top row are whole rows, even scrolled to
// the end), with column widths given in twips as the window's design states
// them.
#ifndef ZEPHYRSTAT_APP_GRID_VIEW_H_
#define ZEPHYRSTAT_APP_GRID_VIEW_H_

#include <QTableView>

#include "app/grid_model.h"

namespace zs {

// Pixels for a length in twips: 15 twips a pixel at 96 dots per inch,
// scaled with the widget's screen.
int TwipsToPixels(int twips, const QWidget* widget);

class GridView : public QTableView {
  Q_OBJECT

 public:
  GridView(const QString& objectName, QWidget* parent);
  // A grid that lists draws (see SetDrawColumnTwips) and whose tool tip says
  // that a double-click exports it to a workbook.
  static GridView* DrawList(const QString& objectName, int positionTwips, QWidget* parent);

  const GridSource& grid() const { return model_.grid(); }
  // The shown grid as an immutable snapshot that stays valid for a worker
  // thread whatever the view shows next.
  std::shared_ptr<const GridSource> snapshot() const { return model_.snapshot(); }

  // Replaces the grid; the column widths stay.
  void SetGrid(Grid grid);
  void SetGrid(std::shared_ptr<const GridSource> grid);
  void SetColumnTwips(int column, int twips);
  // For a grid that lists draws: 期号 1,480 twips wide, then the eight
  // positions `positionTwips` each.
  void SetDrawColumnTwips(int positionTwips);
  // Keeps the view at least as wide as its columns of given widths and a
  // vertical scroll bar, so none of them needs horizontal scrolling.
  void FitWidthToColumns();
  // From now on a column is at least as wide as its longest text, so no
  // cell is cut (for small grids: the texts of every row are measured).
  void WidenColumnsToText() { widenToText_ = true; }
  // Index of the row at the top of the view.
  int TopRow() const;
  void SetTopRow(int row);
  // Shows the newest (last) row at the top as far as the view can scroll.
  void ScrollToLastRow();

 protected:
  void scrollContentsBy(int dx, int dy) override;
  void updateGeometries() override;

 private:
  void KeepTopRowWhole();
  void ApplyWidths();

  GridModel model_;
  std::vector<int> twips_;  // wanted width per column, 0 for the default
  bool widenToText_ = false;
};

}  // namespace zs

#endif  // ZEPHYRSTAT_APP_GRID_VIEW_H_
