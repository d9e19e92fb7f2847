#include "export/grid_text.h"

namespace zs {
namespace {

// Appends the cells of one row, TAB-separated, and the line end.
template <typename CellOf>
void AppendLine(size_t columns, const CellOf& cellOf, std::string& out) {
  for (size_t column = 0; column < columns; ++column) {
    if (column > 0) out += '\t';
    out += cellOf(column);
  }
  out += '\n';
}

}  // namespace

void AppendGridText(const GridSource& grid, std::string& out) {
  const size_t columns = grid.ColumnCount();
  if (columns == 0) return;
  const std::vector<std::string>& headings = grid.Headings();
  AppendLine(
      columns, [&](size_t column) -> std::string_view { return headings[column]; }, out);
  const size_t rows = grid.RowCount();
  std::string scratch;
  for (size_t row = 0; row < rows; ++row) {
    const size_t lineStart = out.size();
    AppendLine(
        columns, [&](size_t column) { return grid.CellText(row, column, scratch); }, out);
    // The rows of a grid are of much the same length: the first one sizes
    // the text, with a byte a cell to spare, so that a long grid is neither
    // copied as the text grows nor formatted twice to measure it.
    if (row == 0) out.reserve(out.size() + (rows - 1) * (out.size() - lineStart + columns));
  }
}

}  // namespace zs
