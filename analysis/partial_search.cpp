#include "analysis/partial_search.h"

#include <array>

#include "analysis/history_index.h"
#include "analysis/search_range.h"

namespace zs {

std::string PartialSearchLabel(const SearchPattern& pattern, const std::string& partSizeText) {
  std::string label;
  for (const std::string& text : pattern.boxTexts) label += text + ' ';
  return label + "(" + partSizeText + ")";
}

SearchResult RunPartialSearch(const HistoryIndex& index, const PartialSearchRequest& request) {
  const RangeSpan span = LocateRangeBoxes(index, request.startBox, request.endBox);
  HitList hits;
  if (request.partSize >= kMinPartSize && request.partSize <= kMaxPartSize) {
    // A choice of k positions holds when all its criteria do; with the
    // occurrence counts running over all eight positions, some choice holds
    // exactly when at least k of the eight criteria do.
    PositionChoice all;
    all.fill(true);
    std::array<const DrawSet*, kPositions> sets{};
    const std::vector<Criterion> criteria = PatternCriteria(request.pattern, all);
    for (int p = 0; p < kPositions; ++p) {
      sets[p] = CriterionDraws(index, request.pattern.type, criteria[p]);
    }
    hits = HitsOfAtLeast(sets, request.partSize, span);
  } else {
    hits = HitsOfAll({nullptr}, span);
  }
  return SearchResultOf(index, PartialSearchLabel(request.pattern, request.partSizeText),
                        std::move(hits), request.pattern.type, request.show);
}

}  // namespace zs
