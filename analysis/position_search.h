// The position search (检索): the draws of the search range that satisfy
// the pattern at every chosen position, fixed or free, with their omissions,
// the summary figures and the two result grids.
#ifndef ZEPHYRSTAT_ANALYSIS_POSITION_SEARCH_H_
#define ZEPHYRSTAT_ANALYSIS_POSITION_SEARCH_H_

#include <memory>
#include <string>
#include <utility>

#include "analysis/hit_scan.h"
#include "analysis/result_grids.h"
#include "analysis/search_pattern.h"
#include "analysis/search_range.h"
#include "core/grid.h"

namespace zs {

class HistoryIndex;

struct PositionSearchRequest {
  SearchPattern pattern;
  PositionChoice chosen{};  // the position check boxes
  std::string startBox;     // the range boxes, shown issues
  std::string endBox;
  ShowRules show;
};

// The hit list is shared with its grid, which formats its rows on demand.
struct SearchResult {
  std::string label;  // strContent of the position search
  std::shared_ptr<const HitList> hits;
  std::shared_ptr<const HitListGrid> hitGrid;
  Grid summaryGrid;
};

// The result of `hits` found for `label`: the grids over them.
SearchResult SearchResultOf(const HistoryIndex& index, std::string label, HitList hits,
                            SearchType type, const ShowRules& rules);

// A search over the range the request's boxes name (startBox, endBox), the
// result labelled `label`; `hitsIn` finds the hits within a RangeSpan.
// Throws InputError (and computes nothing) when a range box does not end in
// a number.
template <typename Request, typename HitsIn>
SearchResult RunSearchInRange(const HistoryIndex& index, const Request& request, std::string label,
                              const HitsIn& hitsIn) {
  const RangeSpan span = LocateRangeBoxes(index, request.startBox, request.endBox);
  return SearchResultOf(index, std::move(label), hitsIn(span), request.pattern.type, request.show);
}

// The label: free positions give the box text of every chosen position,
// fixed positions its value with two digits, each followed by one blank.
std::string PositionSearchLabel(const SearchPattern& pattern, const PositionChoice& chosen);

// The hits of the pattern at the chosen positions over `span`.
HitList PositionSearchHits(const HistoryIndex& index, const SearchPattern& pattern,
                           const PositionChoice& chosen, const RangeSpan& span);

// Throws InputError (and computes nothing) when a range box does not end in
// a number.
SearchResult RunPositionSearch(const HistoryIndex& index, const PositionSearchRequest& request);

}  // namespace zs

#endif  // ZEPHYRSTAT_ANALYSIS_POSITION_SEARCH_H_
