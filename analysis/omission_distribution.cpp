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

namespace {

// 1, 2, 5, 10, 20, 50, … : the width after `width`.
int32_t NextBinWidth(int32_t width) {
  int32_t decade = 1;
  while (decade * 10 <= width) decade *= 10;
  const int32_t step = width / decade;
  return (step == 1 ? 2 : step == 2 ? 5 : 10) * decade;
}

}  // namespace

std::vector<OmissionBin> OmissionBins(const std::vector<OmissionCount>& counts) {
  std::vector<OmissionBin> bins;
  if (counts.empty()) return bins;
  int32_t width = 1;
  if (counts.size() > kMaxUnbinnedOmissions) {
    const int32_t lowest = counts.front().omission;
    const int32_t highest = counts.back().omission;
    while (highest / width - lowest / width + 1 > int32_t{kMaxUnbinnedOmissions}) {
      width = NextBinWidth(width);
    }
  }
  for (const OmissionCount& count : counts) {
    const int32_t from = count.omission / width * width;
    if (bins.empty() || bins.back().from != from) bins.push_back({from, from + width - 1, 0});
    bins.back().hits += count.hits;
  }
  return bins;
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
