// A grid as plain text for a terminal or a pipe: one line per row, the
// heading row first, cells separated by a TAB, every line ended by "\n".
// Cell texts are written as they are (grid cells hold no TAB or line break).
#ifndef ZEPHYRSTAT_EXPORT_GRID_TEXT_H_
#define ZEPHYRSTAT_EXPORT_GRID_TEXT_H_

#include <string>

#include "core/grid_source.h"

namespace zs {

// Appends the text of `grid` to `out`.
void AppendGridText(const GridSource& grid, std::string& out);

}  // namespace zs

#endif  // ZEPHYRSTAT_EXPORT_GRID_TEXT_H_
