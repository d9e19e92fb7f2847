// The analyses: 检索, 分部检索 and 分组计算 take their request from the panels,
// pass the command gate, run the analysis engine over the history index and
// show its grids; the omission table is shown again in the order the
// results panel asks for. The outcome line names the pattern a search used,
// so a box left empty (which keeps its previous value) is visible.
#ifndef ZEPHYRSTAT_APP_ANALYSIS_COMMANDS_H_
#define ZEPHYRSTAT_APP_ANALYSIS_COMMANDS_H_

#include <QObject>
#include <functional>
#include <memory>
#include <optional>

#include "analysis/group_calculation.h"
#include "analysis/hit_scan.h"
#include "analysis/partial_search.h"
#include "analysis/position_search.h"
#include "core/watch.h"
#include "store/omission_table.h"

namespace zs {

class HistoryIndex;

// What the omission table was calculated from: the history and the request
// (type, bases, range). The table keeps only figures, so the chart of a row
// finds the row's hits again from these, as the table counted them.
struct OmissionTableOrigin {
  std::shared_ptr<const HistoryIndex> index;
  GroupRequest request;
};

class PatternPanel;
class ResultsPanel;
class SelectionPanelWidget;
struct WindowState;

class AnalysisCommands : public QObject {
  Q_OBJECT

 public:
  AnalysisCommands(WindowState& state, PatternPanel& pattern, SelectionPanelWidget& selection,
                   ResultsPanel& results, QObject* parent);

  void PositionSearch();
  void PartialSearch();
  void GroupCalculation();
  // The stored omission table, in the order of `key` and `direction`.
  void ShowOmissionTable(OmissionSortKey key, SortDirection direction);

  // What the result grid shows as the pattern of a watch: the search or
  // partial search shown, or the combination in row `row` of the omission
  // table this window calculated; nullopt, with the reason on the outcome
  // line, when it shows none of these.
  std::optional<Watch> ShownWatchPattern(int row) const;
  // Runs what the result grid shows again with the same pattern, over the
  // history as it is now and the range the pattern panel shows; nothing
  // when it shows no analysis of this run.
  void RunShownAgain();

 signals:
  // The result grid shows the summary of a search over `hits`.
  void searchHitsShown(const zs::HitList& hits);
  // The result grid shows the omission table; `origin` is null for a table
  // that this window did not calculate (one kept from an earlier run).
  void omissionTableShown(std::shared_ptr<const zs::OmissionTableOrigin> origin);

 private:
  // True when no command holds the gate, once the pattern panel's pending
  // edits are taken; else the outcome line says which command holds it.
  bool ReadyFor(const QString& command);
  // Runs `search` over the history as it is now, holding the gate as
  // `command`, while the window shows it is busy; shows its grids, hands its
  // hits on and puts the number of hits and the values `used` on the
  // outcome line. False when the gate was held or the search failed (and
  // that was reported).
  bool ShowSearch(const QString& command, const QString& used,
                  const std::function<SearchResult(const HistoryIndex&)>& search);
  void SearchPositions(const PositionSearchRequest& request);
  void SearchParts(const PartialSearchRequest& request);
  void CalculateGroups(const GroupRequest& request);

  // The analysis the result grid shows, and its request.
  enum class Shown { kNothing, kSearch, kPartial, kTable };
  Shown shown_ = Shown::kNothing;
  PositionSearchRequest shownSearch_;
  PartialSearchRequest shownPartial_;

  WindowState& state_;
  PatternPanel& pattern_;
  SelectionPanelWidget& selection_;
  ResultsPanel& results_;
  std::shared_ptr<const OmissionTableOrigin> tableOrigin_;
};

}  // namespace zs

#endif  // ZEPHYRSTAT_APP_ANALYSIS_COMMANDS_H_
