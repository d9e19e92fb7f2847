#include "store/grid_text.h"

namespace zs {

void AppendGridText(const Grid& grid, std::string& out) {
  const size_t columns = grid.ColumnCount();
  if (columns == 0) return;
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
