// A grid's rows ordered by one column, as a click on a column heading of a
// sortable grid orders them: cells that are numbers (or percentages) by
// value, before any
// other text, which goes by its bytes; empty cells always last. Rows that
// compare equal keep their order, so sorting by a second column keeps the
// first as the tie-break.
#ifndef ZEPHYRSTAT_ANALYSIS_GRID_SORT_H_
#define ZEPHYRSTAT_ANALYSIS_GRID_SORT_H_

#include <cstddef>

#include "core/grid.h"

namespace zs {

// Precondition: column < grid.ColumnCount().
Grid SortedByColumn(const Grid& grid, size_t column, bool descending);

}  // namespace zs

#endif  // ZEPHYRSTAT_ANALYSIS_GRID_SORT_H_
