// The main window's side of the views: the menu 走势统计(&A) that opens the
// one 走势统计 window, the options that window follows, the signals that
// refresh it, and the 遗漏分布图 item of the result grid's context menu.
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabBar>

#include "analysis/omission_distribution.h"
#include "app/main_window.h"
#include "app/views/distribution_chart.h"
#include "app/views/views_window.h"
#include "core/issue_number.h"

namespace zs {

void MainWindow::BuildViewHooks() {
  QMenu* views = menuBar()->addMenu(QStringLiteral("走势统计(&A)"));
  views->setObjectName(QStringLiteral("mnuViews"));
  connect(AddAction(views, QStringLiteral("号码走势(&T)"), QStringLiteral("mnuTrend")),
          &QAction::triggered, this, [this] { OpenViews(ViewsWindow::kTrendTab); });
  connect(AddAction(views, QStringLiteral("遗漏统计(&S)"), QStringLiteral("mnuStatistics")),
          &QAction::triggered, this, [this] { OpenViews(ViewsWindow::kStatisticsTab); });

  for (QRadioButton* option : option3_) {
    connect(option, &QRadioButton::toggled, this, &MainWindow::searchOptionsChanged);
  }
  for (int index : {0, 1}) {
    connect(option1_[size_t(index)], &QRadioButton::toggled, this,
            &MainWindow::searchOptionsChanged);
  }
  for (int position = 1; position <= 8; ++position) {
    connect(check11_[size_t(position)], &QCheckBox::toggled, this,
            &MainWindow::searchOptionsChanged);
    connect(check1_[size_t(position)], &QCheckBox::toggled, this,
            &MainWindow::searchOptionsChanged);
  }
  for (QLineEdit* box : text3_) {
    connect(box, &QLineEdit::textChanged, this, &MainWindow::searchOptionsChanged);
  }
  connect(tabStrip1_, &QTabBar::currentChanged, this, &MainWindow::searchOptionsChanged);

  grid3_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(grid3_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    const QModelIndex cell = grid3_->indexAt(at);
    if (!cell.isValid()) return;
    QMenu menu(this);
    QAction* chart = menu.addAction(QStringLiteral("遗漏分布图"));
    if (menu.exec(grid3_->viewport()->mapToGlobal(at)) == chart) ShowResultDistribution(cell.row());
  });
}

ViewsWindow* MainWindow::OpenViews(int tab) {
  if (views_ == nullptr) {
    views_ = new ViewsWindow(
        index_, [this] { return CurrentViewOptions(); }, dataFolder_, dialogs_->Opener(), this);
    connect(this, &MainWindow::historyChanged, views_, &ViewsWindow::ScheduleRefresh);
    connect(this, &MainWindow::searchOptionsChanged, views_, &ViewsWindow::ScheduleRefresh);
    views_->Refresh();
  }
  views_->ShowTab(tab == ViewsWindow::kStatisticsTab ? ViewsWindow::kStatisticsTab
                                                     : ViewsWindow::kTrendTab);
  views_->show();
  views_->raise();
  views_->activateWindow();
  return views_;
}

ViewOptions MainWindow::CurrentViewOptions() const {
  ViewOptions options;
  BoxViewRequest& request = options.request;
  request.type = static_cast<SearchType>(settings_.intLei);
  request.freePositions = !option1_[0]->isChecked();
  if (!request.freePositions) {
    options.positionChecked = false;
    for (int position = 1; position <= 8 && !options.positionChecked; ++position) {
      const QCheckBox* box = manualTab_ ? check11_[size_t(position)] : check1_[size_t(position)];
      if (box->checkState() != Qt::Unchecked) {
        request.position = position - 1;
        options.positionChecked = true;
      }
    }
  }
  request.bases = Bases();
  request.threeDigit = IssueRule::From(settings_).threeDigit;
  request.startBox = text3_[0]->text().toStdString();
  request.endBox = text3_[1]->text().toStdString();
  return options;
}

QWidget* MainWindow::ShowResultDistribution(int row) {
  const Grid& grid = grid3_->grid();
  if (row < 0 || size_t(row) >= grid.RowCount()) return nullptr;
  const std::string_view label = grid.Cell(size_t(row), 0);
  const QString what = QString::fromUtf8(label.data(), qsizetype(label.size())).trimmed();
  HitList hits;
  if (searchHits_) {
    hits = *searchHits_;
  } else {
    // The omission table keeps only the figures: the combination's hits are
    // found again under the current type, bases and range.
    std::optional<HitList> found;
    try {
      found = CombinationHits(index_, panel_.type(), Bases(), label,
                              text3_[0]->text().toStdString(), text3_[1]->text().toStdString());
    } catch (const std::exception& error) {
      ShowStatus(QStringLiteral("无法画遗漏分布图：%1").arg(QString::fromUtf8(error.what())));
      return nullptr;
    }
    if (!found) {
      ShowStatus(QStringLiteral("无法画遗漏分布图：组合“%1”不是当前检索类型的值；"
                                "请选回计算它时的检索类型")
                     .arg(what));
      return nullptr;
    }
    hits = std::move(*found);
  }
  auto* chart =
      new DistributionChart(what, OmissionDistribution(hits.hits), hits.figures.last, this);
  chart->show();
  return chart;
}

}  // namespace zs
