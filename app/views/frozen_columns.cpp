#include "app/views/frozen_columns.h"

#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>

namespace zs {

FrozenColumns::FrozenColumns(QTableView* table, int count)
    : QObject(table), table_(table), frozen_(new QTableView(table)), count_(count) {
  frozen_->setObjectName(table->objectName() + QStringLiteral("Frozen"));
  frozen_->setModel(table->model());
  frozen_->setSelectionModel(table->selectionModel());
  frozen_->setItemDelegate(table->itemDelegate());
  frozen_->setFocusPolicy(Qt::NoFocus);
  frozen_->setFrameShape(QFrame::NoFrame);
  frozen_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  frozen_->setSelectionMode(table->selectionMode());
  frozen_->setWordWrap(false);
  frozen_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  frozen_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  frozen_->setVerticalScrollMode(table->verticalScrollMode());
  frozen_->verticalHeader()->hide();
  frozen_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  frozen_->verticalHeader()->setDefaultSectionSize(table->verticalHeader()->defaultSectionSize());
  frozen_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  frozen_->horizontalHeader()->setHighlightSections(false);
  frozen_->horizontalHeader()->setVisible(!table->horizontalHeader()->isHidden());
  table->viewport()->stackUnder(frozen_);

  connect(table->horizontalHeader(), &QHeaderView::sectionResized, this, &FrozenColumns::Follow);
  connect(table->model(), &QAbstractItemModel::modelReset, this, &FrozenColumns::Follow);
  connect(table->model(), &QAbstractItemModel::columnsInserted, this, &FrozenColumns::Follow);
  connect(frozen_->verticalScrollBar(), &QScrollBar::valueChanged, table->verticalScrollBar(),
          &QScrollBar::setValue);
  connect(table->verticalScrollBar(), &QScrollBar::valueChanged, frozen_->verticalScrollBar(),
          &QScrollBar::setValue);
  // The cells shrink when the table gains a scroll bar, without the table
  // itself changing size.
  table->installEventFilter(this);
  table->viewport()->installEventFilter(this);
  Follow();
  frozen_->show();
}

bool FrozenColumns::eventFilter(QObject* watched, QEvent* event) {
  if ((watched == table_ || watched == table_->viewport()) &&
      (event->type() == QEvent::Resize || event->type() == QEvent::Show)) {
    Follow();
  }
  return QObject::eventFilter(watched, event);
}

void FrozenColumns::Follow() {
  const int columns = table_->model()->columnCount();
  int width = 0;
  for (int column = 0; column < columns; ++column) {
    const bool frozen = column < count_;
    frozen_->setColumnHidden(column, !frozen);
    if (!frozen) continue;
    frozen_->setColumnWidth(column, table_->columnWidth(column));
    width += table_->columnWidth(column);
  }
  // From the top of the heading (when shown) to the bottom of the cells.
  const QRect cells = table_->viewport()->geometry();
  const int top = frozen_->horizontalHeader()->isHidden() ? cells.top() : table_->frameWidth();
  frozen_->horizontalHeader()->setFixedHeight(table_->horizontalHeader()->height());
  frozen_->setGeometry(cells.left(), top, width, cells.bottom() + 1 - top);
  frozen_->verticalScrollBar()->setValue(table_->verticalScrollBar()->value());
}

}  // namespace zs
