#include "analysis/position_search.h"

#include "analysis/history_index.h"
#include "analysis/search_range.h"
#include "core/text.h"

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

SearchResult SearchResultOf(const HistoryIndex& index, std::string label, HitList hits,
                            SearchType type, const ShowRules& rules) {
  SearchResult result;
  result.label = std::move(label);
  result.hits = std::make_shared<const HitList>(std::move(hits));
  result.hitGrid = std::make_shared<const HitListGrid>(index, result.hits, type, rules);
  result.summaryGrid = SummaryGrid(result.label, result.hits->figures);
  return result;
}

HitList PositionSearchHits(const HistoryIndex& index, const SearchPattern& pattern,
                           const PositionChoice& chosen, const RangeSpan& span) {
  std::vector<const DrawSet*> sets;
  for (const Criterion& criterion : PatternCriteria(pattern, chosen)) {
    sets.push_back(CriterionDraws(index, pattern.type, criterion));
  }
  return HitsOfAll(sets, span);
}

SearchResult RunPositionSearch(const HistoryIndex& index, const PositionSearchRequest& request) {
  const RangeSpan span = LocateRangeBoxes(index, request.startBox, request.endBox);
  return SearchResultOf(index, PositionSearchLabel(request.pattern, request.chosen),
                        PositionSearchHits(index, request.pattern, request.chosen, span),
                        request.pattern.type, request.show);
}

}  // namespace zs
