#include "app/views/distribution_chart.h"

#include <QAbstractItemView>
#include <QAreaSeries>
#include <QChart>
#include <QChartView>
#include <QCursor>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QMenu>
#include <QPushButton>
#include <QToolTip>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>

#include "app/grid_view.h"

namespace zs {

namespace {

// 1, 2, 5, 10, 20, 50, … : the smallest at least `wanted`.
double NiceStep(double wanted) {
  double decade = 1;
  while (decade * 10 <= wanted) decade *= 10;
  for (double step : {1.0, 2.0, 5.0, 10.0}) {
    if (step * decade >= wanted) return step * decade;
  }
  return 10 * decade;
}

// Bars stand on the axis from just right of from − ½ to just left of
// to + ½, so neighbouring bins keep a gap.
double BarLeft(const OmissionBin& bin) { return bin.from - 0.5 + 0.1 * (bin.to - bin.from + 1); }
double BarRight(const OmissionBin& bin) { return bin.to + 0.5 - 0.1 * (bin.to - bin.from + 1); }

}  // namespace

DistributionChart::DistributionChart(const QString& title, const std::vector<OmissionCount>& counts,
                                     int32_t lastOmission, QWidget* parent)
    : QDialog(parent), title_(title), bins_(OmissionBins(counts)) {
  setObjectName(QStringLiteral("DistributionChart"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("遗漏分布图 — %1").arg(title));

  // The bars as one area: a step outline over the bins.
  auto* outline = new QLineSeries;
  int64_t highest = 1;
  double lowestX = lastOmission;
  double highestX = lastOmission;
  for (const OmissionBin& bin : bins_) {
    outline->append(BarLeft(bin), 0);
    outline->append(BarLeft(bin), double(bin.hits));
    outline->append(BarRight(bin), double(bin.hits));
    outline->append(BarRight(bin), 0);
    highest = std::max(highest, bin.hits);
    lowestX = std::min(lowestX, double(bin.from));
    highestX = std::max(highestX, double(bin.to));
  }
  auto* bars = new QAreaSeries(outline);
  bars->setName(QStringLiteral("命中期数"));
  bars->setColor(QColor(33, 99, 186));
  bars->setBorderColor(QColor(33, 99, 186));
  connect(bars, &QAreaSeries::hovered, this, [this](const QPointF& point, bool inside) {
    if (inside) {
      QToolTip::showText(QCursor::pos(), ToolTipAt(point.x()), chartView_);
    } else {
      QToolTip::hideText();
    }
  });

  auto* chart = new QChart;
  chart->addSeries(bars);
  chart->setTitle(title);
  chart->legend()->hide();

  const double width = bins_.empty() ? 1 : bins_.front().to - bins_.front().from + 1;
  auto* axisX = new QValueAxis;
  axisX->setRange(lowestX - width, highestX + width);
  axisX->setTickType(QValueAxis::TicksDynamic);
  axisX->setTickAnchor(0);
  axisX->setTickInterval(NiceStep((highestX - lowestX + 2 * width) / 10));
  axisX->setLabelFormat(QStringLiteral("%d"));
  axisX->setTitleText(width > 1 ? QStringLiteral("遗漏次数（每 %1 个一组）").arg(width)
                                : QStringLiteral("遗漏次数"));
  chart->addAxis(axisX, Qt::AlignBottom);
  bars->attachAxis(axisX);
  auto* axisY = new QValueAxis;
  axisY->setRange(0, double(highest));
  axisY->setLabelFormat(QStringLiteral("%d"));
  axisY->applyNiceNumbers();
  axisY->setTitleText(QStringLiteral("命中期数"));
  chart->addAxis(axisY, Qt::AlignLeft);
  bars->attachAxis(axisY);

  // A line of its own, drawn over the bars, keeps its width however narrow
  // they are.
  marker_ = new QLineSeries;
  marker_->setName(QStringLiteral("最后遗漏"));
  marker_->append(lastOmission, 0);
  marker_->append(lastOmission, axisY->max());
  marker_->setPen(QPen(QColor(214, 48, 49), 2.5));
  chart->addSeries(marker_);
  marker_->attachAxis(axisX);
  marker_->attachAxis(axisY);
  connect(marker_, &QLineSeries::hovered, this, [this, lastOmission](const QPointF&, bool inside) {
    if (inside) {
      QToolTip::showText(QCursor::pos(), QStringLiteral("最后遗漏 %1").arg(lastOmission),
                         chartView_);
    }
  });

  chartView_ = new QChartView(chart, this);
  chartView_->setRenderHint(QPainter::Antialiasing);
  chartView_->setMinimumSize(560, 360);
  auto* table = new GridView(QStringLiteral("DistributionGrid"), this);
  table->SetGrid(OmissionDistributionGrid(counts));
  table->setMaximumWidth(220);
  auto* legend = new QLabel(QStringLiteral("红线：最后遗漏 %1").arg(lastOmission), this);
  auto* save = new QPushButton(QStringLiteral("保存图片(&S)…"), this);
  save->setObjectName(QStringLiteral("SaveChart"));
  connect(save, &QPushButton::clicked, this, &DistributionChart::OnSave);
  note_ = new QLabel(this);

  auto* body = new QHBoxLayout;
  body->addWidget(chartView_, 1);
  body->addWidget(table);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(legend);
  bottom->addWidget(note_, 1);
  bottom->addWidget(save);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(body, 1);
  layout->addLayout(bottom);
  resize(900, 480);
}

QString DistributionChart::ToolTipAt(double omission) const {
  for (const OmissionBin& bin : bins_) {
    if (omission < bin.from - 0.5 || omission >= bin.to + 0.5) continue;
    if (bin.from == bin.to) return QStringLiteral("遗漏 %1：%2 期").arg(bin.from).arg(bin.hits);
    return QStringLiteral("遗漏 %1–%2：%3 期").arg(bin.from).arg(bin.to).arg(bin.hits);
  }
  return {};
}

QString DistributionChart::PictureFileName() const {
  QString name = title_;
  for (QChar& c : name) {
    if (QStringLiteral("/\\:*?\"<>|").contains(c)) c = QLatin1Char('_');
  }
  return name + QStringLiteral(".png");
}

bool DistributionChart::SavePicture(const QString& file) {
  if (chartView_->grab().save(file, "PNG")) {
    note_->setText(QStringLiteral("图片已保存：%1").arg(file));
    return true;
  }
  note_->setText(QStringLiteral("未保存图片：无法写入 %1").arg(file));
  return false;
}

void DistributionChart::OnSave() {
  const QString file =
      QFileDialog::getSaveFileName(this, QStringLiteral("保存遗漏分布图"), PictureFileName(),
                                   QStringLiteral("PNG 图片 (*.png)"));
  if (!file.isEmpty()) SavePicture(file);
}

void OfferDistributionChart(QAbstractItemView* grid, const QPoint& at, QWidget* menuParent,
                            const std::function<void(int row)>& chart,
                            const std::function<void(int row)>& watch) {
  const QModelIndex cell = grid->indexAt(at);
  if (!cell.isValid()) return;
  QMenu menu(menuParent);
  QAction* item = menu.addAction(QStringLiteral("遗漏分布图"));
  QAction* watchItem = watch ? menu.addAction(QStringLiteral("加入关注…")) : nullptr;
  QAction* chosen = menu.exec(grid->viewport()->mapToGlobal(at));
  if (chosen == nullptr) return;
  if (chosen == item) chart(cell.row());
  if (chosen == watchItem) watch(cell.row());
}

}  // namespace zs
