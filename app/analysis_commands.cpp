#include "app/analysis_commands.h"

#include "analysis/group_calculation.h"
#include "analysis/partial_search.h"
#include "analysis/position_search.h"
#include "analysis/result_grids.h"
#include "analysis/search_pattern.h"
#include "analysis/watch_figures.h"
#include "app/background_task.h"
#include "app/grid_view.h"
#include "app/pattern_panel.h"
#include "app/results_panel.h"
#include "app/selection_panel_widget.h"
#include "app/window_state.h"
#include "store/omission_table.h"

namespace zs {
namespace {

// The values a search used, position by position: a box left empty keeps
// its previous value, and this shows which one (zodiac values by name, under
// the base the search ran with).
QString UsedValues(const SearchPattern& pattern, const PositionChoice& chosen, int zodiacBase) {
  QStringList parts;
  for (int p = 0; p < kPositions; ++p) {
    if (!chosen[size_t(p)]) continue;
    parts << QStringLiteral("第%1位 %2")
                 .arg(p + 1)
                 .arg(QString::fromStdString(
                     PatternValueName(pattern.type, pattern.values[size_t(p)], zodiacBase)));
  }
  return parts.isEmpty() ? QStringLiteral("未选任何位") : parts.join(QStringLiteral("，"));
}

// The items of an omission-table row's combination, which the grid
// separates by blanks.
std::vector<std::string> CombinationItems(const QString& label) {
  std::vector<std::string> items;
  for (const QString& item : label.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
    items.push_back(item.toStdString());
  }
  return items;
}

}  // namespace

AnalysisCommands::AnalysisCommands(WindowState& state, PatternPanel& pattern,
                                   SelectionPanelWidget& selection, ResultsPanel& results,
                                   QObject* parent)
    : QObject(parent), state_(state), pattern_(pattern), selection_(selection), results_(results) {}

bool AnalysisCommands::ReadyFor(const QString& command) {
  if (state_.gate.busy()) {
    state_.gate.Enter(command);  // says which command holds it
    return false;
  }
  pattern_.CommitEdits();
  return true;
}

void AnalysisCommands::PositionSearch() {
  if (ReadyFor(QStringLiteral("检索"))) SearchPositions(pattern_.PositionRequest());
}

void AnalysisCommands::SearchPositions(const PositionSearchRequest& request) {
  const QString used = UsedValues(request.pattern, request.chosen, request.show.zodiacBase);
  if (ShowSearch(QStringLiteral("检索"), used, [&request](const HistoryIndex& index) {
        return RunPositionSearch(index, request);
      })) {
    shown_ = Shown::kSearch;
    shownSearch_ = request;
  }
}

void AnalysisCommands::PartialSearch() {
  if (ReadyFor(QStringLiteral("分部检索"))) SearchParts(pattern_.PartialRequest());
}

void AnalysisCommands::SearchParts(const PartialSearchRequest& request) {
  PositionChoice all;
  all.fill(true);
  const QString used = QStringLiteral("%1；分部位数 %2")
                           .arg(UsedValues(request.pattern, all, request.show.zodiacBase))
                           .arg(request.partSize);
  if (ShowSearch(QStringLiteral("分部检索"), used, [&request](const HistoryIndex& index) {
        return RunPartialSearch(index, request);
      })) {
    shown_ = Shown::kPartial;
    shownPartial_ = request;
  }
}

bool AnalysisCommands::ShowSearch(const QString& command, const QString& used,
                                  const std::function<SearchResult(const HistoryIndex&)>& search) {
  const auto pass = state_.gate.Enter(command);
  if (!pass) return false;
  SearchResult result;
  try {
    RunBusy([&search, &result, shown = state_.snapshot()] { result = search(*shown->index); });
  } catch (const std::exception& error) {
    state_.Report(QStringLiteral("未检索：%1").arg(What(error)));
    return false;
  }
  results_.ShowResult(result.hitGrid, std::move(result.summaryGrid));
  emit searchHitsShown(*result.hits);
  state_.Report(QStringLiteral("%1完成（所用数值：%2）：范围内命中 %3 期。")
                    .arg(command, used)
                    .arg(result.hits->hits.size()));
  return true;
}

void AnalysisCommands::GroupCalculation() {
  if (!state_.RequireStore() || !ReadyFor(QStringLiteral("分组计算"))) return;
  GroupRequest request = selection_.Request(PanelBases::Of(state_.settings()));
  request.startBox = pattern_.RangeStartText();
  request.endBox = pattern_.RangeEndText();
  CalculateGroups(request);
}

void AnalysisCommands::CalculateGroups(const GroupRequest& request) {
  auto pass = state_.gate.Enter(QStringLiteral("分组计算"));
  if (!pass) return;
  auto origin = std::make_shared<OmissionTableOrigin>();
  origin->index = state_.snapshot()->index;
  origin->request = request;
  size_t rows = 0;
  try {
    // The worker reads the snapshot's index and writes the omission table;
    // the pass keeps every other command away from the store until it is done.
    HistoryStore& store = state_.history->store();
    RunWithProgress(state_.window, QStringLiteral("分组计算"), [&origin, &store, &rows] {
      rows = RunGroupCalculation(*origin->index, origin->request, store).size();
    });
  } catch (const GroupSizeRefusal& refusal) {
    state_.ReportFailure(QStringLiteral("数据溢出"), What(refusal));
    return;
  } catch (const std::exception& error) {
    state_.Report(QStringLiteral("未计算，遗漏表保持原样：%1").arg(What(error)));
    return;
  }
  tableOrigin_ = std::move(origin);
  shown_ = Shown::kTable;
  pass.reset();
  ShowOmissionTable(OmissionSortKey::kLast, SortDirection::kAscending);
  state_.Report(QStringLiteral("分组计算完成：%1 组。").arg(rows));
}

void AnalysisCommands::ShowOmissionTable(OmissionSortKey key, SortDirection direction) {
  if (state_.history == nullptr) return;
  const auto pass = state_.gate.Enter(QStringLiteral("遗漏表排序"));
  if (!pass) return;
  try {
    results_.ShowOmissionTable(
        OmissionTableGrid(LoadOmissionRecords(state_.history->store(), key, direction)), key,
        direction);
    emit omissionTableShown(tableOrigin_);
  } catch (const std::exception& error) {
    state_.Report(QStringLiteral("无法读出遗漏表：%1").arg(What(error)));
  }
}

std::optional<Watch> AnalysisCommands::ShownWatchPattern(int row) const {
  Watch watch;
  switch (shown_) {
    case Shown::kSearch:
      watch.kind = WatchKind::kSearch;
      watch.type = shownSearch_.pattern.type;
      watch.freePositions = shownSearch_.pattern.freePositions;
      watch.chosen = shownSearch_.chosen;
      for (size_t p = 0; p < kPositions; ++p) {
        watch.values[p] = watch.chosen[p] ? shownSearch_.pattern.values[p] : 0;
      }
      return watch;
    case Shown::kPartial:
      watch.kind = WatchKind::kPartial;
      watch.type = shownPartial_.pattern.type;
      watch.freePositions = shownPartial_.pattern.freePositions;
      watch.partSize = shownPartial_.partSize;
      watch.values = shownPartial_.pattern.values;
      return watch;
    case Shown::kTable:
      break;
    case Shown::kNothing:
      state_.Report(QStringLiteral("无法加入关注：结果表格没有本次运行的检索或遗漏表"));
      return std::nullopt;
  }
  const GridSource& grid = results_.summary()->grid();
  if (row < 0 || size_t(row) >= grid.RowCount()) return std::nullopt;
  std::string scratch;
  const std::string_view label = grid.CellText(size_t(row), 0, scratch);
  watch.kind = WatchKind::kCombination;
  watch.type = tableOrigin_->request.type;
  try {
    watch.boxes = CombinationBoxes(
        watch.type, CombinationItems(QString::fromUtf8(label.data(), qsizetype(label.size()))),
        tableOrigin_->request.bases);
  } catch (const std::exception& error) {
    state_.Report(QStringLiteral("无法加入关注：%1").arg(What(error)));
    return std::nullopt;
  }
  return watch;
}

void AnalysisCommands::RunShownAgain() {
  // The same pattern over the range the panel shows now, which follows the
  // newest draw.
  const auto inRangeShown = [this](auto request) {
    request.startBox = pattern_.RangeStartText();
    request.endBox = pattern_.RangeEndText();
    return request;
  };
  switch (shown_) {
    case Shown::kSearch:
      SearchPositions(inRangeShown(shownSearch_));
      break;
    case Shown::kPartial:
      SearchParts(inRangeShown(shownPartial_));
      break;
    case Shown::kTable:
      CalculateGroups(inRangeShown(tableOrigin_->request));
      break;
    case Shown::kNothing:
      break;
  }
}

}  // namespace zs
