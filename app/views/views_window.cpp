#include "app/views/views_window.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QScreen>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "analysis/box_statistics.h"
#include "analysis/grid_sort.h"
#include "analysis/history_index.h"
#include "analysis/trend_grid.h"
#include "app/export_actions.h"
#include "app/grid_view.h"
#include "app/views/distribution_chart.h"
#include "app/views/trend_cell_delegate.h"
#include "app/views/trend_model.h"
#include "core/issue_number.h"
#include "export/spreadsheet_export.h"

namespace zs {

namespace {

constexpr const char* kTypeCaptions[] = {"号码", "生肖", "头数", "尾数", "合数", "段数"};

QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

}  // namespace

ViewsWindow::ViewsWindow(HistorySource history, std::function<ViewOptions()> options,
                         std::filesystem::path dataFolder, FileOpener& opener, QWidget* parent)
    : QWidget(parent, Qt::Window),
      history_(std::move(history)),
      options_(std::move(options)),
      dataFolder_(std::move(dataFolder)),
      opener_(opener) {
  setObjectName(QStringLiteral("ViewsWindow"));
  setWindowTitle(QStringLiteral("走势统计"));
  caption_ = new QLabel(this);
  caption_->setObjectName(QStringLiteral("ViewsCaption"));
  tabs_ = new QTabWidget(this);
  tabs_->setObjectName(QStringLiteral("ViewsTabs"));
  auto* trendTab = new QWidget(tabs_);
  BuildTrendTab(trendTab);
  tabs_->addTab(trendTab, QStringLiteral("走势"));

  statistics_ = new GridView(QStringLiteral("StatisticsGrid"), tabs_);
  statistics_->setToolTip(
      QStringLiteral("单击列标题排序（再次单击反向）；双击导出到EXCEL；右键看遗漏分布图"));
  statistics_->horizontalHeader()->setSortIndicatorShown(true);
  statistics_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  statistics_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(statistics_->horizontalHeader(), &QHeaderView::sectionClicked, this,
          &ViewsWindow::OnStatisticsHeader);
  connect(statistics_, &QTableView::doubleClicked, this, [this] {
    caption_->setText(ExportGridToSheet(this, statistics_->snapshot(), dataFolder_,
                                        kStatisticsSheetName, opener_));
  });
  connect(statistics_, &QWidget::customContextMenuRequested, this, &ViewsWindow::OnStatisticsMenu);
  tabs_->addTab(statistics_, QStringLiteral("统计"));

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(caption_);
  layout->addWidget(tabs_, 1);
  // Wide enough for 期号 and twenty box columns, as far as the screen allows.
  QSize size(1120, 720);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    size = size.boundedTo(screen->availableGeometry().size());
  }
  resize(size);
}

void ViewsWindow::BuildTrendTab(QWidget* tab) {
  trendModel_ = new TrendModel(this);
  trend_ = new QTableView(tab);
  trend_->setObjectName(QStringLiteral("TrendGrid"));
  trend_->setModel(trendModel_);
  trend_->setItemDelegate(new TrendCellDelegate(trend_));
  trend_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  trend_->setSelectionMode(QAbstractItemView::SingleSelection);
  trend_->setWordWrap(false);
  trend_->verticalHeader()->hide();
  // Fixed sizes let the view place any row and column without asking the
  // model for every cell, so only the rows on screen are computed.
  trend_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  trend_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
  trend_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  trend_->horizontalHeader()->setHighlightSections(false);

  footer_ = new GridView(QStringLiteral("TrendFooter"), tab);
  footer_->horizontalHeader()->hide();
  footer_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  footer_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  footer_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  footer_->setFixedHeight(footer_->verticalHeader()->defaultSectionSize() * 4 +
                          2 * footer_->frameWidth());
  // The footer keeps the columns of the grid above it in line.
  connect(trend_->horizontalScrollBar(), &QScrollBar::valueChanged, footer_->horizontalScrollBar(),
          &QScrollBar::setValue);

  auto* layout = new QVBoxLayout(tab);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(trend_, 1);
  layout->addWidget(footer_);
}

void ViewsWindow::ShowTab(Tab tab) { tabs_->setCurrentIndex(tab); }

QString ViewsWindow::caption() const { return caption_->text(); }

void ViewsWindow::ScheduleRefresh() {
  // A closed window computes nothing; it catches up when shown again.
  if (!isVisible()) {
    stale_ = true;
    return;
  }
  if (refreshPending_) return;
  refreshPending_ = true;
  QTimer::singleShot(0, this, [this] {
    if (refreshPending_) Refresh();
  });
}

void ViewsWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (stale_) Refresh();
}

void ViewsWindow::Refresh() {
  refreshPending_ = false;
  stale_ = false;
  const ViewOptions options = options_();
  const BoxViewRequest& request = options.request;
  view_.reset();
  QString problem;
  try {
    view_.emplace(history_(), request);
  } catch (const std::exception& error) {
    problem = QString::fromUtf8(error.what());
  }
  trendModel_->SetView(view_);
  if (!view_) {
    footer_->SetGrid(Grid());
    statisticsGrid_ = Grid();
    ShowStatistics();
    caption_->setText(QStringLiteral("无法显示：%1").arg(problem));
    return;
  }
  QString mode = QStringLiteral("自由位");
  if (!request.freePositions) {
    mode = QStringLiteral("固定位 第%1位").arg(request.position + 1);
    if (!options.positionChecked) mode += QStringLiteral("（主窗口未勾选位置，按第1位）");
  }
  const size_t rows = view_->RowCount();
  caption_->setText(QStringLiteral("%1 · %2 · %3 至 %4 · 共 %5 期")
                        .arg(QString::fromUtf8(kTypeCaptions[static_cast<int>(request.type)]), mode,
                             QString::fromStdString(request.startBox),
                             QString::fromStdString(request.endBox))
                        .arg(rows));
  footer_->SetGrid(TrendFooterGrid(*view_, 0, rows));
  FitTrendColumns();
  trend_->scrollToBottom();
  statisticsGrid_ = BoxStatisticsGrid(*view_);
  ShowStatistics();
}

// Every box column is as wide as its widest figure in the footer (counts
// of a long history have five or six digits) and at least a circle.
void ViewsWindow::FitTrendColumns() {
  const QFontMetrics metrics = trend_->fontMetrics();
  const GridSource& footer = footer_->grid();
  std::string scratch;
  int boxWidth = metrics.height() + 14;
  for (size_t row = 0; row < footer.RowCount(); ++row) {
    for (size_t column = 1; column < footer.ColumnCount(); ++column) {
      const QString cell = Text(footer.CellText(row, column, scratch));
      boxWidth = qMax(boxWidth, metrics.horizontalAdvance(cell) + 10);
    }
  }
  const int issueWidth = metrics.horizontalAdvance(QStringLiteral("2014010101")) + 16;
  trend_->horizontalHeader()->setMinimumSectionSize(boxWidth);
  footer_->horizontalHeader()->setMinimumSectionSize(boxWidth);
  trend_->setColumnWidth(0, issueWidth);
  footer_->setColumnWidth(0, issueWidth);
  for (int column = 1; column < trendModel_->columnCount(); ++column) {
    trend_->setColumnWidth(column, boxWidth);
    footer_->setColumnWidth(column, boxWidth);
  }
}

void ViewsWindow::OnStatisticsHeader(int column) {
  descending_ = column == sortColumn_ ? !descending_ : false;
  sortColumn_ = column;
  ShowStatistics();
}

void ViewsWindow::ShowStatistics() {
  const bool sorted = sortColumn_ >= 0 && size_t(sortColumn_) < statisticsGrid_.ColumnCount();
  statistics_->SetGrid(sorted ? SortedByColumn(statisticsGrid_, size_t(sortColumn_), descending_)
                              : statisticsGrid_);
  statistics_->horizontalHeader()->setSortIndicator(
      sorted ? sortColumn_ : -1, descending_ ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void ViewsWindow::OnStatisticsMenu(const QPoint& at) {
  OfferDistributionChart(statistics_, at, this, [this](int row) { ShowDistributionOfRow(row); });
}

QWidget* ViewsWindow::ShowDistributionOfRow(int row) {
  if (!view_ || row < 0 || size_t(row) >= statistics_->grid().RowCount()) return nullptr;
  std::string scratch;
  const std::string_view label = statistics_->grid().CellText(size_t(row), 0, scratch);
  int box = 0;
  while (box < view_->BoxCount() && view_->Label(box) != label) ++box;
  if (box == view_->BoxCount()) return nullptr;
  const HitList hits = BoxHits(*view_, box);
  auto* chart =
      new DistributionChart(Text(label), OmissionDistribution(hits.hits), hits.figures.last, this);
  chart->show();
  return chart;
}

}  // namespace zs
