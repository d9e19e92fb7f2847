// The position search (检索): the draws of the search range that satisfy
// the pattern at every chosen position, fixed or free, with their omissions,
// the summary figures and the two result grids.
#ifndef ZEPHYRSTAT_ANALYSIS_POSITION_SEARCH_H_
#define ZEPHYRSTAT_ANALYSIS_POSITION_SEARCH_H_

#include <functional>
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

// What every search of the pattern over the search range takes.
struct PatternSearchRequest {
  SearchPattern pattern;
  std::string startBox;  // the range boxes, shown issues
  std::string endBox;
  ShowRules show;
};

struct PositionSearchRequest : PatternSearchRequest {
  PositionChoice chosen{};  // the position check boxes
};

// The hit list is shared with its grid, which formats its rows on demand.
struct SearchResult {
  std::string label;  // names the search in the summary and in saved watches
  std::shared_ptr<const HitList> hits;
  std::shared_ptr<const HitListGrid> hitGrid;
  Grid summaryGrid;
};

// The search named `label` whose hits in a span `hitsOver` finds, run over
// the span of the request's range boxes, with the grids over its hits.
// Throws InputError (and computes nothing) when a range box does not end in
// a number.
SearchResult RunPatternSearch(const HistoryIndex& index, const PatternSearchRequest& request,
                              std::string label,
                              const std::function<HitList(const RangeSpan&)>& hitsOver);

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
