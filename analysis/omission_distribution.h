// The omission distribution (遗漏分布) of a result's hits: how many hits had
// each omission value (the 遗漏次数 column), ascending by omission; and the
// hits of one combination of the omission table, whose distribution the
// omission table does not keep.
#ifndef ZEPHYRSTAT_ANALYSIS_OMISSION_DISTRIBUTION_H_
#define ZEPHYRSTAT_ANALYSIS_OMISSION_DISTRIBUTION_H_

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "analysis/hit_scan.h"
#include "analysis/selection_panel.h"
#include "core/grid.h"

namespace zs {

class HistoryIndex;

struct OmissionCount {
  int32_t omission = 0;
  int64_t hits = 0;
  friend bool operator==(const OmissionCount&, const OmissionCount&) = default;
};

std::vector<OmissionCount> OmissionDistribution(const std::vector<Hit>& hits);

// "遗漏次数", "命中期数".
Grid OmissionDistributionGrid(const std::vector<OmissionCount>& counts);

// The hits over the range of the draws that carry every value of
// `combination`, the blank-separated labels of an omission table row (as
// the group calculation writes them for `type`). nullopt when a label names
// no box of the type. Throws InputError when a range box does not end in a
// number.
std::optional<HitList> CombinationHits(const HistoryIndex& index, SearchType type,
                                       const PanelBases& bases, std::string_view combination,
                                       std::string_view startBox, std::string_view endBox);

}  // namespace zs

#endif  // ZEPHYRSTAT_ANALYSIS_OMISSION_DISTRIBUTION_H_
