// How many hits a box of a view should have had by chance over a stretch
// of draws (理论次数): the sum over its draws of p(draw, box), the chance
// that eight distinct numbers drawn at random in random order hit the box
// under that draw's own attributes.
//
// For the per-position types, with m the count of the numbers 01–20 that
// carry the box's value in the draw (a zodiac value depends on the draw's
// zodiac year; both bases are read from the stored fields), p is m / 20 in
// fixed mode and 1 − C(20 − m, 8) / C(20, 8) in free mode. For a draw
// pattern p is the share of the C(20, 8) sets that hit the box, 0 for the
// first stored draw under 重号.
//
// Every p is a whole number of 1 / (8 C(20, 8)), so sums are exact.
#ifndef ZEPHYRSTAT_ANALYSIS_EXPECTED_HITS_H_
#define ZEPHYRSTAT_ANALYSIS_EXPECTED_HITS_H_

#include <vector>

#include "analysis/search_range.h"

namespace zs {

class BoxView;

// One sum per box of the view over the draws [span.begin, span.end).
std::vector<double> ExpectedHits(const BoxView& view, const RangeSpan& span);

}  // namespace zs

#endif  // ZEPHYRSTAT_ANALYSIS_EXPECTED_HITS_H_
