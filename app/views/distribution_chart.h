// The omission distribution chart (遗漏分布图) of one result: a bar per
// omission value that occurred, its height the number of hits with that
// omission, the bar of the current 最后遗漏 in red (added with no height
// when no hit had it), and beside it the distribution as a
// grid. A non-modal window; the chart can be saved as a PNG picture.
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

namespace zs {

class DistributionChart : public QDialog {
  Q_OBJECT

 public:
  // `what` names the result (a box, a combination, a search label).
  DistributionChart(const QString& what, const std::vector<OmissionCount>& counts,
                    int32_t lastOmission, QWidget* parent);

  // Writes the chart as a PNG picture; false (and the reason shown in the
  // window) when the file could not be written.
  bool SavePicture(const QString& file);

  QChartView* chartView() const { return chartView_; }

 private:
  void OnSave();

  QChartView* chartView_ = nullptr;
  QLabel* note_ = nullptr;
};

// The right-click menu of a grid whose rows can be charted: on a row under
// `at` (viewport coordinates) it offers 遗漏分布图, and `chart` gets the row
// when it is chosen.
void OfferDistributionChart(QAbstractItemView* grid, const QPoint& at, QWidget* menuParent,
                            const std::function<void(int row)>& chart);

}  // namespace zs

#endif  // ZEPHYRSTAT_APP_VIEWS_DISTRIBUTION_CHART_H_
