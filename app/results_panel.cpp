#include "app/results_panel.h"

#include <QHeaderView>
#include <QVBoxLayout>

#include "analysis/result_grids.h"
#include "app/grid_view.h"

namespace zs {

ResultsPanel::ResultsPanel(QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  // Each column as wide as its heading needs, so that the whole list fits
  // beside the history and the pattern on a 1366-pixel screen.
  hits_ = GridView::DrawList(QStringLiteral("MSFlexGrid2"), 640, this);
  hits_->SetColumnTwips(9, 900);
  hits_->SetColumnTwips(10, 600);
  layout->addWidget(hits_, 3);
  summary_ = new GridView(QStringLiteral("MSFlexGrid3"), this);
  summary_->setMinimumHeight(summary_->verticalHeader()->defaultSectionSize() * 4);
  summary_->SetColumnTwips(0, 1880);
  for (int column = 1; column <= 3; ++column) summary_->SetColumnTwips(column, 880);
  summary_->WidenColumnsToText();
  layout->addWidget(summary_, 2);

  for (GridView* grid : {hits_, summary_}) {
    connect(grid, &QTableView::doubleClicked, this, [this, grid] { emit exportRequested(grid); });
  }
  summary_->horizontalHeader()->setSortIndicatorShown(true);
  ShowSortIndicator();
  connect(summary_, &QTableView::clicked, this,
          [this](const QModelIndex& index) { OnOmissionClick(index.column(), false); });
  connect(summary_->horizontalHeader(), &QHeaderView::sectionClicked, this,
          [this](int column) { OnOmissionClick(column, true); });
}

void ResultsPanel::ShowResult(std::shared_ptr<const GridSource> hitGrid, Grid summaryGrid) {
  hits_->SetGrid(std::move(hitGrid));
  summary_->SetGrid(std::move(summaryGrid));
  sortKey_.reset();
  ShowSortIndicator();
}

void ResultsPanel::ShowOmissionTable(Grid table, OmissionSortKey key, SortDirection direction) {
  summary_->SetGrid(std::move(table));
  sortKey_ = key;
  direction_ = direction;
  ShowSortIndicator();
}

// The heading has already turned its arrow by itself; the arrow is set again
// from the order shown, which a refused order or a column that is no key
// leaves as it was.
void ResultsPanel::OnOmissionClick(int column, bool onHeading) {
  if (const std::optional<OmissionSortKey> key = SortKeyOfColumn(column)) {
    const bool shown = key == sortKey_;
    const bool descending = shown && (direction_ == SortDirection::kDescending) != onHeading;
    emit omissionOrderRequested(
        *key, descending ? SortDirection::kDescending : SortDirection::kAscending);
  }
  ShowSortIndicator();
}

void ResultsPanel::ShowSortIndicator() {
  summary_->horizontalHeader()->setSortIndicator(
      sortKey_ ? ColumnOfSortKey(*sortKey_) : -1,
      direction_ == SortDirection::kDescending ? Qt::DescendingOrder : Qt::AscendingOrder);
}

}  // namespace zs
