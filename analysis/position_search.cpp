#include "analysis/position_search.h"

#include "analysis/history_index.h"
#include "analysis/search_range.h"

namespace zs {

std::string PositionSearchLabel(const SearchPattern& pattern, const PositionChoice& chosen) {
  std::string label;
  for (int p = 0; p < kPositions; ++p) {
    if (!chosen[p]) continue;
    label += pattern.freePositions ? pattern.boxTexts[p] : TwoDigits(pattern.values[p]);
    label += ' ';
  }
  return label;
}

SearchResult RunPositionSearch(const HistoryIndex& index, const PositionSearchRequest& request) {
  const RangeSpan span = Locate(index, ReadRangeBoxes(request.startBox, request.endBox));
  std::vector<const DrawSet*> sets;
  for (const Criterion& criterion : PatternCriteria(request.pattern, request.chosen)) {
    sets.push_back(CriterionDraws(index, request.pattern.type, criterion));
  }
  SearchResult result;
  result.label = PositionSearchLabel(request.pattern, request.chosen);
  result.hits = HitsOfAll(sets, span);
  result.hitGrid = HitListGrid(index, result.hits.hits, request.pattern.type, request.show);
  result.summaryGrid = SummaryGrid(result.label, result.hits.figures);
  return result;
}

}  // namespace zs
