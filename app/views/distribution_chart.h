// The omission distribution chart (遗漏分布图) of one result: over a numeric
// omission axis a bar per omission value that occurred, or per bin of equal
// width when there are more than 40 of them (OmissionBins), its height the
// number of hits; the current 最后遗漏 as a red marker line across the
// whole height, which stays visible however narrow the bars; a tool tip on
// every bar with its omissions and hits; beside it the distribution as a
// grid. The title names what is charted; the picture is saved as a PNG
// named after it. A non-modal window.
#ifndef ZEPHYRSTAT_APP_VIEWS_DISTRIBUTION_CHART_H_
#define ZEPHYRSTAT_APP_VIEWS_DISTRIBUTION_CHART_H_

#include <QDialog>
#include <cstdint>
#include <functional>
#include <vector>

#include "analysis/omission_distribution.h"

class QAbstractItemView;
class QChartView;
class QLabel;
class QLineSeries;

namespace zs {

class DistributionChart : public QDialog {
  Q_OBJECT

 public:
  // `title` names the result: type, mode and position or pattern, the box
  // or combination, and the range.
  DistributionChart(const QString& title, const std::vector<OmissionCount>& counts,
                    int32_t lastOmission, QWidget* parent);

  // Writes the chart as a PNG picture; false (and the reason shown in the
  // window) when the file could not be written.
  bool SavePicture(const QString& file);
  // The title with the characters a file name cannot hold replaced, ".png".
  QString PictureFileName() const;

  const std::vector<OmissionBin>& bins() const { return bins_; }
  // The 最后遗漏 marker: two points at the last omission, from 0 to the top
  // of the value axis.
  QLineSeries* marker() const { return marker_; }
  // The tool tip of the bar at `omission` on the axis; "" off every bar.
  QString ToolTipAt(double omission) const;

 private:
  void OnSave();

  QString title_;
  std::vector<OmissionBin> bins_;
  QChartView* chartView_ = nullptr;
  QLineSeries* marker_ = nullptr;
  QLabel* note_ = nullptr;
};

// The right-click menu of a grid whose rows can be charted: on a row under
// `at` (viewport coordinates) it offers 遗漏分布图, and `chart` gets the row
// when it is chosen; with `watch`, it also offers 加入关注…, and `watch`
// gets the row when that is chosen.
void OfferDistributionChart(QAbstractItemView* grid, const QPoint& at, QWidget* menuParent,
                            const std::function<void(int row)>& chart,
                            const std::function<void(int row)>& watch = {});

}  // namespace zs

#endif  // ZEPHYRSTAT_APP_VIEWS_DISTRIBUTION_CHART_H_
