// The history grid: heading "期号", "第1码" … "第8码"; one row per draw in
// issue order, the shown issue and the eight numbers as stored (5 shows "5").
#ifndef ZEPHYRSTAT_ANALYSIS_HISTORY_GRID_H_
#define ZEPHYRSTAT_ANALYSIS_HISTORY_GRID_H_

#include <vector>

#include "core/draw.h"
#include "core/grid.h"

namespace zs {

Grid HistoryGrid(const std::vector<Draw>& draws, bool threeDigit);

}  // namespace zs

#endif  // ZEPHYRSTAT_ANALYSIS_HISTORY_GRID_H_
