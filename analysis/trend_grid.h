// The trend grid (号码走势) of a view: a row per stored draw of the range,
// oldest first, with "期号" (the shown issue) and a column per box. A cell
// holds the box's label when the draw hits the box, otherwise the number of
// stored draws since the last draw that hit it, counted over the whole
// stored history (t − h by position in the history, h = 0 when no earlier
// draw hit), so any window of rows shows true counts.
//
// Any window of rows is computed on its own, at a cost that grows with the
// window, not with the history: a view scrolling over 500,000 draws asks
// only for the rows it shows.
#ifndef ZEPHYRSTAT_ANALYSIS_TREND_GRID_H_
#define ZEPHYRSTAT_ANALYSIS_TREND_GRID_H_

#include <cstddef>
#include <cstdint>

#include "core/grid.h"

namespace zs {

class BoxView;

// Rows firstRow .. firstRow + rowCount − 1 of the range (0 the oldest),
// cut at the end of the range.
Grid TrendGrid(const BoxView& view, size_t firstRow, size_t rowCount);

// The whole range.
Grid TrendGrid(const BoxView& view);

// The footer of a window of rows: "出现次数", "平均遗漏", "最大遗漏",
// "最大连出", "最后遗漏" (first column) with each box's figure over those rows, taken
// as a range of their own (the draws below the first row count as one
// virtual hit), so a window that is the whole range agrees with the
// statistics.
Grid TrendFooterGrid(const BoxView& view, size_t firstRow, size_t rowCount);

// The omission of the hit in row `row` at box `box` (0-based), counted as
// the cells count: the draws since the box's previous hit in the whole
// stored history. 0 when that draw does not hit the box.
int64_t TrendHitOmission(const BoxView& view, size_t row, int box);

}  // namespace zs

#endif  // ZEPHYRSTAT_ANALYSIS_TREND_GRID_H_
