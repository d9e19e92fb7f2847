// The draws of the index sorted into the boxes of a draw pattern: one set
// per box, built in one pass over the stored numbers.
#ifndef ZEPHYRSTAT_ANALYSIS_PATTERN_DRAWS_H_
#define ZEPHYRSTAT_ANALYSIS_PATTERN_DRAWS_H_

#include <cstddef>
#include <vector>

#include "analysis/draw_set.h"
#include "analysis/pattern_types.h"

namespace zs {

class HistoryIndex;

// The stored draw at `draw` as a mask of its numbers (numbers outside 1..20
// are left out).
NumberMask DrawNumbers(const HistoryIndex& index, size_t draw);

// Set j holds the draws that hit box j of `type`.
std::vector<DrawSet> PatternDraws(const HistoryIndex& index, PatternType type);

}  // namespace zs

#endif  // ZEPHYRSTAT_ANALYSIS_PATTERN_DRAWS_H_
