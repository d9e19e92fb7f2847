// The statistics of every box of a view over its range (遗漏统计), one row
// per box: "值", "出现次数", "理论次数", "出现频率", "最小遗漏", "最大遗漏",
// "最后遗漏", "上次遗漏", "平均遗漏", "欲出几率", "投资价值", "回补几率",
// "最大连出", "最大遗漏期号".
//
// The omissions are those of a position search for the box's value alone
// (the draws below the range start count as one virtual hit, 32767 stands
// for the smallest and largest omission when nothing hit). 平均遗漏 is the
// mean of the hits' omissions, 欲出几率 the last omission over that mean
// (unrounded), both printed with two decimals and empty when nothing hit.
// 最大连出 is the longest run of consecutive stored draws of the range that
// all hit.
//
// 理论次数 is the chance-expected hit count (expected_hits.h), 出现频率 the
// hits per hundred draws of the range ("%.2f%%"). 上次遗漏 is the omission of
// the newest hit. With 循环周期 = draws ÷ 理论次数, 投资价值 is the last
// omission over it and 回补几率 (上次遗漏 − 最后遗漏) over it. 最大遗漏期号 is
// the shown issue of the earliest hit whose omission is the largest. Every
// figure that has nothing to stand on (no draws, no hits, 理论次数 0) is "".
#ifndef ZEPHYRSTAT_ANALYSIS_BOX_STATISTICS_H_
#define ZEPHYRSTAT_ANALYSIS_BOX_STATISTICS_H_

#include <cstddef>
#include <cstdint>
#include <string>

#include "analysis/hit_scan.h"
#include "analysis/omission.h"
#include "analysis/search_range.h"
#include "core/grid.h"

namespace zs {

class BoxView;
class DrawSet;

struct BoxFigures {
  int64_t hitCount = 0;
  int64_t omissionSum = 0;
  int64_t longestRun = 0;
  OmissionFigures omissions;
  int32_t newestHitOmission = 0;   // 上次遗漏; read only when something hit
  size_t largestOmissionDraw = 0;  // the earliest hit with the largest omission

  // "%.2f" of the mean omission; "" when nothing hit.
  std::string AverageText() const;
  // "%.2f" of the last omission over the mean omission; "" when nothing hit.
  std::string ChanceText() const;
};

// The figures of the draws of `span` in `draws` (nullptr: no draw hits).
BoxFigures FiguresOver(const DrawSet* draws, const RangeSpan& span);

Grid BoxStatisticsGrid(const BoxView& view);

// The hits of box `box` (0-based) over the view's range, with their
// omissions, for the omission distribution.
HitList BoxHits(const BoxView& view, int box);

}  // namespace zs

#endif  // ZEPHYRSTAT_ANALYSIS_BOX_STATISTICS_H_
