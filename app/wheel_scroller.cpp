#include "app/wheel_scroller.h"

#include <QApplication>
#include <QWheelEvent>

namespace zs {

WheelScroller::WheelScroller(std::vector<GridView*> grids, QObject* parent) : QObject(parent) {
  for (GridView* grid : grids) grids_.emplace_back(grid);
}

GridView* WheelScroller::FocusedGrid() const {
  QWidget* focus = QApplication::focusWidget();
  for (const QPointer<GridView>& grid : grids_) {
    if (grid && grid == focus) return grid;
  }
  return nullptr;
}

bool WheelScroller::IsInsideGrid(QObject* object) const {
  for (QObject* o = object; o != nullptr; o = o->parent()) {
    for (const QPointer<GridView>& grid : grids_) {
      if (grid && grid == o) return true;
    }
  }
  return false;
}

bool WheelScroller::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::Wheel) return false;
  const auto* wheel = static_cast<QWheelEvent*>(event);
  if (GridView* grid = FocusedGrid()) {
    const int delta = wheel->angleDelta().y();
    if (delta > 0) {
      if (grid->TopRow() > 0) grid->SetTopRow(grid->TopRow() - 1);
    } else if (delta < 0) {
      grid->SetTopRow(grid->TopRow() + 1);
    }
    // The focused grid takes the wheel, as a wheel message goes to the
    // focus; handing the event on would scroll whatever lies under the mouse.
    return true;
  }
  return IsInsideGrid(watched);
}

}  // namespace zs
