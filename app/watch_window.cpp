#include "app/watch_window.h"

#include <QBrush>
#include <QColor>
#include <QHeaderView>
#include <QMenu>
#include <QTableWidget>
#include <QVBoxLayout>
#include <exception>
#include <optional>
#include <stdexcept>
#include <string_view>

#include "analysis/watch_book.h"

namespace zs {
namespace {

// The columns that hold figures sort as numbers; 平均遗漏 and 欲出几率 are
// "" without hits and then sort first.
bool IsFigureColumn(size_t column) { return column == 0 || (column >= 4 && column <= 8); }

// A figure as the grid writes it ("0.60") that sorts as a number.
class FigureItem : public QTableWidgetItem {
 public:
  FigureItem(const QString& text, double value) : QTableWidgetItem(text), value_(value) {}
  bool operator<(const QTableWidgetItem& other) const override {
    if (const auto* figure = dynamic_cast<const FigureItem*>(&other))
      return value_ < figure->value_;
    return QTableWidgetItem::operator<(other);
  }

 private:
  double value_;
};

QTableWidgetItem* CellItem(std::string_view text, size_t column) {
  const QString shown = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  bool number = false;
  const double value = shown.toDouble(&number);
  QTableWidgetItem* item =
      IsFigureColumn(column) && number ? new FigureItem(shown, value) : new QTableWidgetItem(shown);
  item->setFlags(item->flags() & ~Qt::ItemIsEditable);
  return item;
}

}  // namespace

WatchWindow::WatchWindow(History& history, CommandGate& gate, QWidget* parent)
    : QWidget(parent, Qt::Window), history_(history), gate_(gate), table_(new QTableWidget(this)) {
  setWindowTitle(QStringLiteral("关注"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(table_);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->verticalHeader()->hide();
  // First by 编号, as `watch list` prints them; then as the user sorts.
  table_->horizontalHeader()->setSortIndicator(0, Qt::AscendingOrder);
  table_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(table_, &QWidget::customContextMenuRequested, this, &WatchWindow::showMenu);
  resize(1200, 360);
}

void WatchWindow::Refresh(const Snapshot& snapshot) {
  const Grid grid = WatchGrid(*snapshot->watches, false);
  const int sortColumn = table_->horizontalHeader()->sortIndicatorSection();
  const Qt::SortOrder order = table_->horizontalHeader()->sortIndicatorOrder();
  table_->setSortingEnabled(false);
  table_->clear();
  table_->setColumnCount(static_cast<int>(grid.ColumnCount()));
  table_->setRowCount(static_cast<int>(grid.RowCount()));
  QStringList headings;
  for (size_t column = 0; column < grid.ColumnCount(); ++column) {
    headings << QString::fromStdString(grid.Headings()[column]);
  }
  table_->setHorizontalHeaderLabels(headings);
  const QBrush held(QColor(255, 224, 160));
  for (size_t row = 0; row < grid.RowCount(); ++row) {
    const bool holds = snapshot->watches->entries()[row].holds;
    for (size_t column = 0; column < grid.ColumnCount(); ++column) {
      QTableWidgetItem* item = CellItem(grid.Cell(row, column), column);
      if (holds) item->setBackground(held);
      table_->setItem(static_cast<int>(row), static_cast<int>(column), item);
    }
  }
  table_->setSortingEnabled(true);
  table_->sortByColumn(sortColumn, order);
  // The pattern in words is the widest text; a player reads it whole.
  table_->resizeColumnsToContents();
}

bool WatchWindow::Add(const Watch& watch) {
  return ChangeWatches(QStringLiteral("加入关注"), [this, &watch] {
    return QStringLiteral("已加入关注，编号 %1").arg(history_.AddWatch(watch));
  });
}

bool WatchWindow::Remove(int64_t number) {
  return ChangeWatches(QStringLiteral("删除关注"), [this, number] {
    if (!history_.RemoveWatch(number)) {
      throw std::runtime_error(QStringLiteral("没有编号为 %1 的关注").arg(number).toStdString());
    }
    return QStringLiteral("已删除关注，编号 %1").arg(number);
  });
}

bool WatchWindow::ChangeWatches(const QString& command, const std::function<QString()>& change) {
  const std::optional<CommandGate::Pass> pass = gate_.Enter(command);
  if (!pass) return false;
  try {
    emit message(change());
  } catch (const std::exception& error) {
    emit message(QString::fromUtf8(error.what()));
    return false;
  }
  Refresh(history_.snapshot());
  return true;
}

void WatchWindow::showMenu(const QPoint& position) {
  const QTableWidgetItem* item = table_->itemAt(position);
  if (item == nullptr) return;
  const QTableWidgetItem* numberItem = table_->item(item->row(), 0);
  const auto number = numberItem->data(Qt::DisplayRole).toLongLong();
  QMenu menu(this);
  const QAction* remove = menu.addAction(QStringLiteral("删除关注 %1").arg(number));
  if (menu.exec(table_->viewport()->mapToGlobal(position)) == remove) Remove(number);
}

}  // namespace zs
