// The partial search (分部检索): the draws of the search range that agree
// with at least k of the eight positions of the pattern; every position
// takes part. Fixed positions count the positions that carry their value;
// free positions pair pattern values with distinct drawn numbers carrying
// them (numbers: every pattern number that is drawn counts). A part size
// outside 1..6 finds nothing.
#ifndef ZEPHYRSTAT_ANALYSIS_PARTIAL_SEARCH_H_
#define ZEPHYRSTAT_ANALYSIS_PARTIAL_SEARCH_H_

#include <string>

#include "analysis/position_search.h"

namespace zs {

constexpr int kMinPartSize = 1;
constexpr int kMaxPartSize = 6;

struct PartialSearchRequest : PatternSearchRequest {
  int partSize = 2;          // k, the positions a draw must agree with
  std::string partSizeText;  // the text of the part size box, for the label
};

// The eight box texts, each followed by one blank, then "(" partSizeText ")".
std::string PartialSearchLabel(const SearchPattern& pattern, const std::string& partSizeText);

// The draws of `span` that agree with at least `partSize` positions.
HitList PartialSearchHits(const HistoryIndex& index, const SearchPattern& pattern, int partSize,
                          const RangeSpan& span);

// Throws InputError (and computes nothing) when a range box does not end in
// a number.
SearchResult RunPartialSearch(const HistoryIndex& index, const PartialSearchRequest& request);

}  // namespace zs

#endif  // ZEPHYRSTAT_ANALYSIS_PARTIAL_SEARCH_H_
