#include "app/views/views_window.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <iterator>

#include "analysis/box_statistics.h"
#include "analysis/grid_sort.h"
#include "analysis/history_index.h"
#include "analysis/trend_grid.h"
#include "app/export_actions.h"
#include "app/grid_view.h"
#include "app/views/distribution_chart.h"
#include "app/views/frozen_columns.h"
#include "app/views/trend_cell_delegate.h"
#include "app/views/trend_model.h"
#include "app/views/view_titles.h"
#include "core/issue_number.h"
#include "export/spreadsheet_export.h"

namespace zs {

namespace {

// The periods of the trend tab: the newest draws of the range; 0 all.
constexpr int kPeriods[] = {30, 50, 100, 200, 0};
constexpr int kFooterRows = 5;

QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// A row of the window: a label, the choice it names and, after a gap, `rest`
// taking the width that is left.
QHBoxLayout* ChoiceRow(const QString& label, QWidget* choice, QWidget* rest, QWidget* parent) {
  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel(label, parent));
  row->addWidget(choice);
  row->addSpacing(12);
  row->addWidget(rest, 1);
  return row;
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
  typeChoice_ = new QComboBox(this);
  typeChoice_->setObjectName(QStringLiteral("ViewTypeChoice"));
  typeChoice_->addItem(QStringLiteral("跟随主窗口"));
  for (int pattern = 0; pattern < kPatternTypeCount; ++pattern) {
    typeChoice_->addItem(QString::fromUtf8(PatternTypeCaption(static_cast<PatternType>(pattern))));
  }
  connect(typeChoice_, &QComboBox::currentIndexChanged, this, &ViewsWindow::Refresh);
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
  layout->addLayout(ChoiceRow(QStringLiteral("类型："), typeChoice_, caption_, this));
  layout->addWidget(tabs_, 1);
  // Wide enough for 期号, 开奖号码 and twenty box columns, as far as the
  // screen allows.
  QSize size(1366, 720);
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
  // The footer has one column where the grid has 期号 and 开奖号码: they
  // keep in line by pixels, not by columns.
  trend_->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  frozenTrend_ = new FrozenColumns(trend_, TrendModel::kLeadColumns);

  footer_ = new GridView(QStringLiteral("TrendFooter"), tab);
  footer_->horizontalHeader()->hide();
  footer_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  footer_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  footer_->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  footer_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  footer_->setFixedHeight(footer_->verticalHeader()->defaultSectionSize() * kFooterRows +
                          2 * footer_->frameWidth());
  new FrozenColumns(footer_, 1);
  connect(trend_->horizontalScrollBar(), &QScrollBar::valueChanged, footer_->horizontalScrollBar(),
          &QScrollBar::setValue);
  // Room on the right where the grid has its vertical scroll bar, so both
  // scroll as far.
  auto* footerRow = new QHBoxLayout;
  footerRow->setContentsMargins(0, 0, style()->pixelMetric(QStyle::PM_ScrollBarExtent), 0);
  footerRow->addWidget(footer_);

  period_ = new QComboBox(tab);
  period_->setObjectName(QStringLiteral("TrendPeriod"));
  for (int period : kPeriods) {
    period_->addItem(period == 0 ? QStringLiteral("全部") : QStringLiteral("近%1").arg(period));
  }
  period_->setCurrentIndex(int(std::size(kPeriods)) - 1);
  connect(period_, &QComboBox::currentIndexChanged, this, [this] {
    if (!view_) return;
    ShowTrendRows();
    trend_->scrollToBottom();
  });
  auto* legend = new QLabel(
      QStringLiteral(
          "遗漏：与上次出现相隔的期数（连续两期出现为 1）。灰色数字为到该期已遗漏的期数，"
          "圆圈为出现（悬停看其遗漏）；最后遗漏算到最新一期的下一期。"),
      tab);
  legend->setObjectName(QStringLiteral("TrendLegend"));

  auto* layout = new QVBoxLayout(tab);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(trend_, 1);
  layout->addLayout(footerRow);
  layout->addLayout(ChoiceRow(QStringLiteral("期数："), period_, legend, tab));
}

QTableView* ViewsWindow::frozenTrendView() const { return frozenTrend_->view(); }

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
  BoxViewRequest request = options.request;
  if (typeChoice_->currentIndex() > 0) {
    request.pattern = static_cast<PatternType>(typeChoice_->currentIndex() - 1);
  }
  view_.reset();
  QString problem;
  try {
    view_.emplace(history_(), request);
  } catch (const std::exception& error) {
    problem = QString::fromUtf8(error.what());
  }
  if (!view_) {
    trendModel_->SetView(std::nullopt);
    footer_->SetGrid(Grid());
    statisticsGrid_ = Grid();
    ShowStatistics();
    caption_->setText(QStringLiteral("无法显示：%1").arg(problem));
    return;
  }
  QString kind = ViewKindText(request);
  if (!request.pattern && !request.freePositions && !options.positionChecked) {
    kind += QStringLiteral("（主窗口未勾选位置，按第1位）");
  }
  caption_->setText(QStringLiteral("%1 · %2 · 共 %3 期")
                        .arg(kind, RangeText(request.startBox, request.endBox))
                        .arg(view_->RowCount()));
  ShowTrendRows();
  FitTrendColumns();
  trend_->scrollToBottom();
  statisticsGrid_ = BoxStatisticsGrid(*view_);
  ShowStatistics();
}

void ViewsWindow::ShowTrendRows() {
  const size_t rows = view_->RowCount();
  const auto period = static_cast<size_t>(kPeriods[period_->currentIndex()]);
  const size_t first = period == 0 || period >= rows ? 0 : rows - period;
  trendModel_->SetView(view_, first);
  footer_->SetGrid(TrendFooterGrid(*view_, first, rows - first));
}

// Box columns are as wide as a circle, their label or four digits, so at
// 1366 pixels every one of twenty boxes is in sight; footer figures wider
// than that (six-digit counts of a long history) get a smaller font.
void ViewsWindow::FitTrendColumns() {
  const QFontMetrics metrics = trend_->fontMetrics();
  int boxWidth =
      qMax(metrics.height() + 14, metrics.horizontalAdvance(QStringLiteral("8888")) + 10);
  // Hits show their label in bold.
  QFont bold = trend_->font();
  bold.setBold(true);
  const QFontMetrics boldMetrics(bold);
  for (int box = 0; box < view_->BoxCount(); ++box) {
    boxWidth = qMax(boxWidth, boldMetrics.horizontalAdvance(Text(view_->Label(box))) + 12);
  }
  const GridSource& footer = footer_->grid();
  std::string scratch;
  int widest = 0;
  for (size_t row = 0; row < footer.RowCount(); ++row) {
    for (size_t column = 1; column < footer.ColumnCount(); ++column) {
      widest = qMax(widest, metrics.horizontalAdvance(Text(footer.CellText(row, column, scratch))));
    }
  }
  // Room for the cell's padding on both sides.
  const int room = boxWidth - 14;
  QFont footerFont = trend_->font();
  if (widest > room && footerFont.pointSizeF() > 0) {
    footerFont.setPointSizeF(qMax(6.0, footerFont.pointSizeF() * room / widest));
  }
  footer_->setFont(footerFont);
  const int issueWidth = metrics.horizontalAdvance(QStringLiteral("2014010101")) + 16;
  const int numbersWidth =
      metrics.horizontalAdvance(QStringLiteral("20 20 20 20 20 20 20 20")) + 16;
  trend_->horizontalHeader()->setMinimumSectionSize(qMin(boxWidth, issueWidth));
  footer_->horizontalHeader()->setMinimumSectionSize(qMin(boxWidth, issueWidth));
  trend_->setColumnWidth(0, issueWidth);
  trend_->setColumnWidth(1, numbersWidth);
  footer_->setColumnWidth(0, issueWidth + numbersWidth);
  for (int box = 0; box < view_->BoxCount(); ++box) {
    trend_->setColumnWidth(box + TrendModel::kLeadColumns, boxWidth);
    footer_->setColumnWidth(box + 1, boxWidth);
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
  const BoxViewRequest& request = view_->request();
  const QString title =
      QStringLiteral("%1 %2 遗漏分布 %3")
          .arg(ViewKindText(request), Text(label), RangeText(request.startBox, request.endBox));
  auto* chart =
      new DistributionChart(title, OmissionDistribution(hits.hits), hits.figures.last, this);
  chart->show();
  return chart;
}

}  // namespace zs
