// The figures of a watch over the whole stored history (first to newest
// draw): 出现次数, 最大遗漏 and 最后遗漏 exactly as the corresponding search
// over that range shows them (32767 for 最大遗漏 when nothing hit), 平均遗漏
// and 欲出几率 as the statistics of a single box give them; whether the
// watch's condition holds; and the pattern in words.
//
// A search or partial-search watch hits where that search hits; a
// combination hits the draws carrying every item's value, as the group
// calculation counts them. After a draw is appended the figures follow from
// the previous ones and that one draw, in constant time.
#ifndef ZEPHYRSTAT_ANALYSIS_WATCH_FIGURES_H_
#define ZEPHYRSTAT_ANALYSIS_WATCH_FIGURES_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "analysis/hit_scan.h"
#include "analysis/omission.h"
#include "analysis/search_range.h"
#include "analysis/selection_panel.h"
#include "core/watch.h"

namespace zs {

class HistoryIndex;

// What the figures of a watch are kept as: the omission count from the
// virtual previous hit before the first draw, and the draws counted.
struct WatchFigures {
  OmissionCounter counter{0};
  int64_t omissionSum = 0;
  size_t drawCount = 0;

  int64_t HitCount() const { return counter.HitCount(); }
  OmissionFigures Omissions() const { return counter.Finish(static_cast<int64_t>(drawCount)); }
  // "%.2f", "" when nothing hit.
  std::string AverageText() const;
  std::string ChanceText() const;
};

// The hits of the watch's pattern over `span` of `index`; the bases say
// what a combination's boxes stand for.
HitList WatchHits(const HistoryIndex& index, const Watch& watch, const PanelBases& bases,
                  const RangeSpan& span);

// The figures over every draw of `index`.
WatchFigures ComputeWatch(const HistoryIndex& index, const Watch& watch, const PanelBases& bases);

// The figures once the draw at position figures.drawCount of `after` is
// counted too. Precondition: `figures` are those of the draws of `after`
// before it.
WatchFigures AdvanceWatch(const WatchFigures& figures, const Watch& watch,
                          const HistoryIndex& after, const PanelBases& bases);

// Whether `condition` is true of the figures. The ratio and record
// conditions never hold without a hit; the ratio is compared unrounded.
bool Holds(const WatchCondition& condition, const WatchFigures& figures);

// The pattern in words: type caption and position mode, then
// "第1位03 第2位07" for the positions that take part (a partial search
// names its part size, "分部位数2", first); a combination "组合" and its
// items as the group calculation labels them.
std::string WatchContent(const Watch& watch, const PanelBases& bases);

// The boxes of the combination whose items are `labels` (as the group
// calculation writes them for `type`), ascending. Throws InputError naming
// the item that is no label of the type, or that is given twice.
std::vector<int> CombinationBoxes(SearchType type, const std::vector<std::string>& labels,
                                  const PanelBases& bases);

}  // namespace zs

#endif  // ZEPHYRSTAT_ANALYSIS_WATCH_FIGURES_H_
