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

// Omissions from..to (inclusive) taken together, for a chart of a long
// range: every bin is as wide as the others and starts at a multiple of
// its width.
struct OmissionBin {
  int32_t from = 0;
  int32_t to = 0;
  int64_t hits = 0;
  friend bool operator==(const OmissionBin&, const OmissionBin&) = default;
};

// Distributions with more distinct omissions than this are binned.
constexpr size_t kMaxUnbinnedOmissions = 40;

// The non-empty bins of `counts`, ascending: one per omission when there
// are at most kMaxUnbinnedOmissions of them, else of the narrowest width of
// 1, 2, 5, 10, 20, 50, … that spans the omissions in at most that many bins.
std::vector<OmissionBin> OmissionBins(const std::vector<OmissionCount>& counts);

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
