#include "cli/grid_text.h"

namespace zs {

void AppendGridText(const Grid& grid, std::string& out) {
  const size_t columns = grid.ColumnCount();
  if (columns == 0) return;
  // One separator or line end per cell.
  size_t bytes = out.size();
  for (const std::string& heading : grid.Headings()) bytes += heading.size() + 1;
  for (size_t row = 0; row < grid.RowCount(); ++row) {
    for (size_t column = 0; column < columns; ++column) bytes += grid.Cell(row, column).size() + 1;
  }
  out.reserve(bytes);
  for (size_t column = 0; column < columns; ++column) {
    if (column > 0) out += '\t';
    out += grid.Headings()[column];
  }
  out += '\n';
  for (size_t row = 0; row < grid.RowCount(); ++row) {
    for (size_t column = 0; column < columns; ++column) {
      if (column > 0) out += '\t';
      out += grid.Cell(row, column);
    }
    out += '\n';
  }
}

}  // namespace zs
