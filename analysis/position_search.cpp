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

SearchResult RunPatternSearch(const HistoryIndex& index, const PatternSearchRequest& request,
                              std::string label,
                              const std::function<HitList(const RangeSpan&)>& hitsOver) {
  const RangeSpan span = LocateRangeBoxes(index, request.startBox, request.endBox);
  SearchResult result;
  result.label = std::move(label);
  result.hits = std::make_shared<const HitList>(hitsOver(span));
  result.hitGrid =
      std::make_shared<const HitListGrid>(index, result.hits, request.pattern.type, request.show);
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
  return RunPatternSearch(index, request, PositionSearchLabel(request.pattern, request.chosen),
                          [&](const RangeSpan& span) {
                            return PositionSearchHits(index, request.pattern, request.chosen, span);
                          });
}

}  // namespace zs
