// Mouse-wheel scrolling of the window's grids: one wheel event scrolls the
// grid that has the keyboard focus by exactly one row, whatever distance the
// event carries. The grids do not scroll by themselves, so a wheel over a
// grid without focus does nothing; every other widget keeps its own
// behaviour. Install once on the application (an application-level filter
// sees every wheel event before its receiver).
#ifndef ZEPHYRSTAT_APP_WHEEL_SCROLLER_H_
#define ZEPHYRSTAT_APP_WHEEL_SCROLLER_H_

#include <QObject>
#include <QPointer>
#include <vector>

#include "app/grid_view.h"

namespace zs {

class WheelScroller : public QObject {
  Q_OBJECT

 public:
  WheelScroller(std::vector<GridView*> grids, QObject* parent);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  GridView* FocusedGrid() const;
  bool IsInsideGrid(QObject* object) const;

  std::vector<QPointer<GridView>> grids_;
};

}  // namespace zs

#endif  // ZEPHYRSTAT_APP_WHEEL_SCROLLER_H_
