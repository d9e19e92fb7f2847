#include "analysis/omission_distribution.h"

#include <map>
#include <string>

#include "analysis/draw_set.h"
#include "analysis/history_index.h"
#include "analysis/search_range.h"

namespace zs {

std::vector<OmissionCount> OmissionDistribution(const std::vector<Hit>& hits) {
  std::map<int32_t, int64_t> counts;
  for (const Hit& hit : hits) ++counts[hit.omission];
  std::vector<OmissionCount> distribution;
  distribution.reserve(counts.size());
  for (const auto& [omission, count] : counts) distribution.push_back({omission, count});
  return distribution;
}

Grid OmissionDistributionGrid(const std::vector<OmissionCount>& counts) {
  Grid grid({"遗漏次数", "命中期数"});
  for (const OmissionCount& count : counts) {
    grid.AddRow({std::to_string(count.omission), std::to_string(count.hits)});
  }
  return grid;
}

std::optional<HitList> CombinationHits(const HistoryIndex& index, SearchType type,
                                       const PanelBases& bases, std::string_view combination,
                                       std::string_view startBox, std::string_view endBox) {
  const RangeSpan span = LocateRangeBoxes(index, startBox, endBox);
  std::vector<const DrawSet*> criteria;
  size_t begin = 0;
  while (begin < combination.size()) {
    size_t blank = combination.find(' ', begin);
    if (blank == std::string_view::npos) blank = combination.size();
    const std::string_view label = combination.substr(begin, blank - begin);
    begin = blank + 1;
    if (label.empty()) continue;
    int found = 0;
    for (int box = 1; box <= BoxCount(type) && found == 0; ++box) {
      if (BoxLabel(type, box, bases) == label) found = box;
    }
    if (found == 0) return std::nullopt;
    criteria.push_back(index.AtLeast(type, BoxValue(type, found, bases), 1));
  }
  if (criteria.empty()) return std::nullopt;
  return HitsOfAll(criteria, span);
}

}  // namespace zs
