#include "app/grid_view.h"

#include <QHeaderView>
#include <QScrollBar>
#include <algorithm>

#include "core/draw.h"

namespace zs {

int TwipsToPixels(int twips, const QWidget* widget) {
  constexpr double kTwipsPerPixel = 15.0;
  constexpr double kDesignDpi = 96.0;
  return qRound(twips / kTwipsPerPixel * widget->logicalDpiX() / kDesignDpi);
}

GridView::GridView(const QString& objectName, QWidget* parent) : QTableView(parent) {
  setObjectName(objectName);
  setModel(&model_);
  setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setWordWrap(false);
  verticalHeader()->hide();
  // Fixed row heights let the view place any row without measuring the
  // others, which keeps a long history instant.
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setSectionsClickable(true);
}

void GridView::SetGrid(Grid grid) {
  model_.SetGrid(std::move(grid));
  ApplyWidths();
}

void GridView::SetGrid(std::shared_ptr<const GridSource> grid) {
  model_.SetGrid(std::move(grid));
  ApplyWidths();
}

void GridView::SetColumnTwips(int column, int twips) {
  if (twips_.size() <= size_t(column)) twips_.resize(size_t(column) + 1, 0);
  twips_[size_t(column)] = twips;
  ApplyWidths();
}

GridView* GridView::DrawList(const QString& objectName, int positionTwips, QWidget* parent) {
  auto* grid = new GridView(objectName, parent);
  grid->setToolTip(QStringLiteral("鼠标双击列表可以将列表导出到EXCEL"));
  grid->SetDrawColumnTwips(positionTwips);
  return grid;
}

void GridView::SetDrawColumnTwips(int positionTwips) {
  SetColumnTwips(0, 1480);
  for (int column = 1; column <= kPositions; ++column) SetColumnTwips(column, positionTwips);
}

void GridView::FitWidthToColumns() {
  int columns = 0;
  for (int twips : twips_) columns += TwipsToPixels(twips, this);
  setMinimumWidth(columns + verticalScrollBar()->sizeHint().width() + 2 * frameWidth());
}

void GridView::ApplyWidths() {
  for (int column = 0; column < model_.columnCount(); ++column) {
    const int twips = size_t(column) < twips_.size() ? twips_[size_t(column)] : 0;
    int width = twips > 0 ? TwipsToPixels(twips, this) : horizontalHeader()->defaultSectionSize();
    if (widenToText_) width = std::max(width, sizeHintForColumn(column));
    if (twips > 0 || widenToText_) setColumnWidth(column, width);
  }
}

int GridView::TopRow() const { return verticalScrollBar()->value(); }

void GridView::SetTopRow(int row) { verticalScrollBar()->setValue(row); }

// Scrolled to the end, QTableView lines the last row up with the bottom
// edge and cuts the top row; aligning the top row instead leaves the spare
// pixels below the newest row, which stays whole since the scroll range
// counts only whole rows.
void GridView::KeepTopRowWhole() {
  const QScrollBar* bar = verticalScrollBar();
  if (bar->maximum() == 0 || bar->value() != bar->maximum()) return;
  if (verticalHeader()->offset() == verticalHeader()->sectionPosition(bar->value())) return;
  verticalHeader()->setOffsetToSectionPosition(bar->value());
  viewport()->update();
}

void GridView::scrollContentsBy(int dx, int dy) {
  QTableView::scrollContentsBy(dx, dy);
  KeepTopRowWhole();
}

void GridView::updateGeometries() {
  QTableView::updateGeometries();
  KeepTopRowWhole();
}

void GridView::ScrollToLastRow() {
  // The scroll bar's range is only current once the layout has run.
  updateGeometries();
  SetTopRow(model_.rowCount() - 1);
}

}  // namespace zs
