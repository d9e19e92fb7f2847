// Finding the hits of a search range from criterion sets, word by word, and
// their omission figures. A missing set (nullptr) is a criterion no draw
// satisfies.
#ifndef ZEPHYRSTAT_ANALYSIS_HIT_SCAN_H_
#define ZEPHYRSTAT_ANALYSIS_HIT_SCAN_H_

#include <array>
#include <cstdint>
#include <vector>

#include "analysis/omission.h"
#include "analysis/search_range.h"
#include "core/draw.h"

namespace zs {

class DrawSet;

// Eight bytes, as a search hitting most of a long history fills megabytes of
// them in fresh memory.
struct Hit {
  int32_t idx = 0;  // the draw at index position idx − 1
  int32_t omission = 0;
  friend bool operator==(const Hit&, const Hit&) = default;
};

struct HitList {
  std::vector<Hit> hits;
  OmissionFigures figures;
};

// Draws of the range that satisfy every criterion; with no criterion every
// draw of the range is a hit.
HitList HitsOfAll(const std::vector<const DrawSet*>& criteria, const RangeSpan& span);

// Draws of the range that satisfy at least `atLeast` (1..8) of the criteria.
HitList HitsOfAtLeast(const std::array<const DrawSet*, kPositions>& criteria, int atLeast,
                      const RangeSpan& span);

}  // namespace zs

#endif  // ZEPHYRSTAT_ANALYSIS_HIT_SCAN_H_
