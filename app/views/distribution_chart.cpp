#include "app/views/distribution_chart.h"

#include <QAbstractItemView>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>

#include "app/grid_view.h"

namespace zs {

namespace {

QChart* MakeChart(const QString& what, const std::vector<OmissionCount>& counts,
                  int32_t lastOmission) {
  auto* hits = new QBarSet(QStringLiteral("命中期数"));
  hits->setColor(QColor(33, 99, 186));
  hits->setSelectedColor(QColor(214, 48, 49));
  QStringList categories;
  int64_t highest = 0;
  bool lastShown = false;
  for (const OmissionCount& count : counts) {
    if (!lastShown && lastOmission < count.omission) {
      categories << QString::number(lastOmission);
      hits->append(0);
      lastShown = true;
    }
    categories << QString::number(count.omission);
    hits->append(double(count.hits));
    highest = std::max(highest, count.hits);
    if (count.omission == lastOmission) lastShown = true;
  }
  if (!lastShown) {
    categories << QString::number(lastOmission);
    hits->append(0);
  }
  hits->selectBar(int(categories.indexOf(QString::number(lastOmission))));

  auto* series = new QBarSeries;
  series->append(hits);
  auto* chart = new QChart;
  chart->addSeries(series);
  chart->setTitle(QStringLiteral("%1 遗漏分布（最后遗漏 %2，红色）").arg(what).arg(lastOmission));
  chart->legend()->hide();
  auto* axisX = new QBarCategoryAxis;
  axisX->append(categories);
  axisX->setTitleText(QStringLiteral("遗漏次数"));
  chart->addAxis(axisX, Qt::AlignBottom);
  series->attachAxis(axisX);
  auto* axisY = new QValueAxis;
  axisY->setRange(0, double(std::max<int64_t>(highest, 1)));
  axisY->setLabelFormat(QStringLiteral("%d"));
  axisY->applyNiceNumbers();
  axisY->setTitleText(QStringLiteral("命中期数"));
  chart->addAxis(axisY, Qt::AlignLeft);
  series->attachAxis(axisY);
  return chart;
}

}  // namespace

DistributionChart::DistributionChart(const QString& what, const std::vector<OmissionCount>& counts,
                                     int32_t lastOmission, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("DistributionChart"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("遗漏分布图 — %1").arg(what));
  chartView_ = new QChartView(MakeChart(what, counts, lastOmission), this);
  chartView_->setRenderHint(QPainter::Antialiasing);
  chartView_->setMinimumSize(560, 360);
  auto* table = new GridView(QStringLiteral("DistributionGrid"), this);
  table->SetGrid(OmissionDistributionGrid(counts));
  table->setMaximumWidth(220);
  auto* save = new QPushButton(QStringLiteral("保存图片(&S)…"), this);
  save->setObjectName(QStringLiteral("SaveChart"));
  connect(save, &QPushButton::clicked, this, &DistributionChart::OnSave);
  note_ = new QLabel(this);

  auto* body = new QHBoxLayout;
  body->addWidget(chartView_, 1);
  body->addWidget(table);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(note_, 1);
  bottom->addWidget(save);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(body, 1);
  layout->addLayout(bottom);
  resize(900, 480);
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
  const QString file = QFileDialog::getSaveFileName(this, QStringLiteral("保存遗漏分布图"),
                                                    QStringLiteral("遗漏分布图.png"),
                                                    QStringLiteral("PNG 图片 (*.png)"));
  if (!file.isEmpty()) SavePicture(file);
}

void OfferDistributionChart(QAbstractItemView* grid, const QPoint& at, QWidget* menuParent,
                            const std::function<void(int row)>& chart) {
  const QModelIndex cell = grid->indexAt(at);
  if (!cell.isValid()) return;
  QMenu menu(menuParent);
  QAction* item = menu.addAction(QStringLiteral("遗漏分布图"));
  if (menu.exec(grid->viewport()->mapToGlobal(at)) == item) chart(cell.row());
}

}  // namespace zs
