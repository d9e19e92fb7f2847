#include "app/views/views_hooks.h"

#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <algorithm>

#include "analysis/omission_distribution.h"
#include "app/grid_view.h"
#include "app/pattern_panel.h"
#include "app/results_panel.h"
#include "app/views/distribution_chart.h"
#include "app/views/view_titles.h"
#include "app/window_state.h"
#include "core/issue_number.h"

namespace zs {

ViewsHooks::ViewsHooks(WindowState& state, PatternPanel& pattern, ResultsPanel& results,
                       QWidget* window)
    : QObject(window), state_(state), pattern_(pattern), results_(results), window_(window) {
  connect(&pattern_, &PatternPanel::searchOptionsChanged, this, &ViewsHooks::ScheduleRefresh);
  connect(&state_.gate, &CommandGate::busyChanged, this, [this](bool busy) {
    if (!busy && refreshAfterCommand_) ScheduleRefresh();
  });

  GridView* summary = results_.summary();
  summary->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(summary, &QWidget::customContextMenuRequested, this, [this, summary](const QPoint& at) {
    OfferDistributionChart(
        summary, at, window_, [this](int row) { ShowResultDistribution(row); },
        [this](int row) { emit watchRequested(row); });
  });
}

void ViewsHooks::AddMenu(QMenuBar* bar) {
  QMenu* views = bar->addMenu(QStringLiteral("走势统计(&A)"));
  views->setObjectName(QStringLiteral("mnuViews"));
  QAction* trend = views->addAction(QStringLiteral("号码走势(&T)"));
  trend->setObjectName(QStringLiteral("mnuTrend"));
  QAction* statistics = views->addAction(QStringLiteral("遗漏统计(&S)"));
  statistics->setObjectName(QStringLiteral("mnuStatistics"));
  connect(trend, &QAction::triggered, this, [this] { OpenViews(ViewsWindow::kTrendTab); });
  connect(statistics, &QAction::triggered, this,
          [this] { OpenViews(ViewsWindow::kStatisticsTab); });
}

ViewsWindow* ViewsHooks::OpenViews(ViewsWindow::Tab tab) {
  const auto pass = state_.gate.Enter(QStringLiteral("走势统计"));
  if (!pass) return nullptr;
  if (views_ == nullptr) {
    views_ = new ViewsWindow([this] { return state_.snapshot()->index; },
                             [this] { return CurrentViewOptions(); }, state_.dataFolder,
                             state_.dialogs->Opener(), window_);
    views_->Refresh();
  }
  views_->ShowTab(tab);
  views_->show();
  views_->raise();
  views_->activateWindow();
  return views_;
}

ViewOptions ViewsHooks::CurrentViewOptions() const {
  const PositionSearchRequest search = pattern_.PositionRequest();
  ViewOptions options;
  BoxViewRequest& request = options.request;
  request.type = search.pattern.type;
  request.freePositions = search.pattern.freePositions;
  if (!request.freePositions) {
    const auto first = std::find(search.chosen.begin(), search.chosen.end(), true);
    options.positionChecked = first != search.chosen.end();
    if (options.positionChecked) request.position = int(first - search.chosen.begin());
  }
  const Settings settings = state_.settings();
  request.bases = PanelBases::Of(settings);
  request.threeDigit = IssueRule::From(settings).threeDigit;
  request.startBox = search.startBox;
  request.endBox = search.endBox;
  return options;
}

QWidget* ViewsHooks::ShowResultDistribution(int row) {
  const GridSource& grid = results_.summary()->grid();
  if (row < 0 || size_t(row) >= grid.RowCount()) return nullptr;
  const auto pass = state_.gate.Enter(QStringLiteral("遗漏分布图"));
  if (!pass) return nullptr;
  std::string scratch;
  const std::string_view label = grid.CellText(size_t(row), 0, scratch);
  const QString what = QString::fromUtf8(label.data(), qsizetype(label.size())).trimmed();
  HitList hits;
  if (searchHits_) {
    hits = *searchHits_;
  } else if (tableOrigin_ == nullptr) {
    state_.Report(
        QStringLiteral("无法画遗漏分布图：遗漏表不是本次运行分组计算的结果，"
                       "请重新分组计算"));
    return nullptr;
  } else {
    // The omission table keeps only the figures: the combination's hits are
    // found again as the table's calculation found them.
    const GroupRequest& request = tableOrigin_->request;
    std::optional<HitList> found;
    try {
      found = CombinationHits(*tableOrigin_->index, request.type, request.bases, label,
                              request.startBox, request.endBox);
    } catch (const std::exception& error) {
      state_.Report(QStringLiteral("无法画遗漏分布图：%1").arg(What(error)));
      return nullptr;
    }
    if (!found) {
      state_.Report(
          QStringLiteral("无法画遗漏分布图：组合“%1”不在遗漏表计算时的检索类型中").arg(what));
      return nullptr;
    }
    hits = std::move(*found);
  }
  // A search's hits follow the pattern panel's type and mode; an omission
  // table row is a combination of values of the calculation's type.
  // The range is the table's own, as its hits are.
  const QString kind = searchHits_ ? ViewKindText(CurrentViewOptions().request)
                                   : SearchTypeCaption(tableOrigin_->request.type);
  const QString range =
      searchHits_ ? RangeText(pattern_.RangeStartText(), pattern_.RangeEndText())
                  : RangeText(tableOrigin_->request.startBox, tableOrigin_->request.endBox);
  const QString title = QStringLiteral("%1 %2 遗漏分布 %3").arg(kind, what, range);
  auto* chart =
      new DistributionChart(title, OmissionDistribution(hits.hits), hits.figures.last, window_);
  chart->show();
  return chart;
}

void ViewsHooks::RememberSearchHits(const HitList& hits) {
  searchHits_ = hits;
  tableOrigin_.reset();
}

void ViewsHooks::RememberOmissionTable(std::shared_ptr<const OmissionTableOrigin> origin) {
  searchHits_.reset();
  tableOrigin_ = std::move(origin);
}

void ViewsHooks::ScheduleRefresh() {
  if (views_ == nullptr) return;
  if (!state_.gate.busy()) {
    refreshAfterCommand_ = false;
    views_->ScheduleRefresh();
    return;
  }
  // The command holding the gate gives its pass back before the event loop
  // runs again, or, when it lets the loop run, says so by busyChanged(false).
  if (refreshAfterCommand_) return;
  refreshAfterCommand_ = true;
  QTimer::singleShot(0, this, [this] {
    if (refreshAfterCommand_ && !state_.gate.busy()) ScheduleRefresh();
  });
}

}  // namespace zs
