// The analyses: 检索, 分部检索 and 分组计算 take their request from the panels,
// pass the command gate, run the analysis engine over the history index and
// show its grids; a click on the omission table shows it again sorted by
// the clicked column, in the direction the results panel asks for. The outcome line names the
// pattern a search used, so a box left empty (which keeps its previous value) is visible.
#ifndef ZEPHYRSTAT_APP_ANALYSIS_COMMANDS_H_
#define ZEPHYRSTAT_APP_ANALYSIS_COMMANDS_H_

#include <QObject>
#include <functional>
#include <optional>

#include "analysis/hit_scan.h"
#include "analysis/position_search.h"
#include "store/omission_table.h"

namespace zs {

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
  // The omission table sorted by column `column`; nothing for a column that
  // is no sort key.
  void SortOmissionTable(int column, bool descending);

 signals:
  // The result grid shows the summary of a search over `hits`.
  void searchHitsShown(const zs::HitList& hits);
  // The result grid shows the omission table of the group calculation.
  void omissionTableShown();

 private:
  // Runs `search` while the window shows it is busy, shows its grids and
  // hands its hits on. Returns the number of hits, or nullopt when the
  // search failed (and that was reported).
  std::optional<size_t> ShowSearch(const std::function<SearchResult()>& search);
  void ShowOmissionTable(OmissionSortKey key, SortDirection direction);

  WindowState& state_;
  PatternPanel& pattern_;
  SelectionPanelWidget& selection_;
  ResultsPanel& results_;
};

}  // namespace zs

#endif  // ZEPHYRSTAT_APP_ANALYSIS_COMMANDS_H_
