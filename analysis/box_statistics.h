// The statistics of every box of a view over its range (遗漏统计), one row
// per box: "值", "出现次数", "最小遗漏", "最大遗漏", "最后遗漏", "平均遗漏",
// "欲出几率", "最大连出".
//
// The omissions are those of a position search for the box's value alone
// (the draws below the range start count as one virtual hit, 32767 stands
// for the smallest and largest omission when nothing hit). 平均遗漏 is the
// mean of the hits' omissions, 欲出几率 the last omission over that mean
// (unrounded), both printed with two decimals and empty when nothing hit.
// 最大连出 is the longest run of consecutive stored draws of the range that
// all hit.
#ifndef ZEPHYRSTAT_ANALYSIS_BOX_STATISTICS_H_
#define ZEPHYRSTAT_ANALYSIS_BOX_STATISTICS_H_

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
