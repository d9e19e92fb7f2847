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

HitList PartialSearchHits(const HistoryIndex& index, const SearchPattern& pattern, int partSize,
                          const RangeSpan& span) {
  if (partSize < kMinPartSize || partSize > kMaxPartSize) return HitsOfAll({nullptr}, span);
  // A choice of k positions holds when all its criteria do; with the
  // occurrence counts running over all eight positions, some choice holds
  // exactly when at least k of the eight criteria do.
  PositionChoice all;
  all.fill(true);
  std::array<const DrawSet*, kPositions> sets{};
  const std::vector<Criterion> criteria = PatternCriteria(pattern, all);
  for (int p = 0; p < kPositions; ++p) sets[p] = CriterionDraws(index, pattern.type, criteria[p]);
  return HitsOfAtLeast(sets, partSize, span);
}

SearchResult RunPartialSearch(const HistoryIndex& index, const PartialSearchRequest& request) {
  return RunPatternSearch(index, request, PartialSearchLabel(request.pattern, request.partSizeText),
                          [&](const RangeSpan& span) {
                            return PartialSearchHits(index, request.pattern, request.partSize,
                                                     span);
                          });
}

}  // namespace zs
