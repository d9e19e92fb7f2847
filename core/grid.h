// A result grid: a heading row and rows of cell texts, exactly as a user sees
// them. Every view (window, command-line tool, spreadsheet and text export)
// shows the same Grid, so a figure can never differ between them.
//
// Cells are kept in one text buffer so that a grid of a whole history
// (hundreds of thousands of rows) stays small and cheap to build.
#ifndef ZEPHYRSTAT_CORE_GRID_H_
#define ZEPHYRSTAT_CORE_GRID_H_

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace zs {

class Grid {
 public:
  Grid() = default;
  explicit Grid(std::vector<std::string> headings);

  const std::vector<std::string>& Headings() const { return headings_; }
  size_t ColumnCount() const { return headings_.size(); }
  // Data rows; the heading row is not counted.
  size_t RowCount() const { return ColumnCount() == 0 ? 0 : ends_.size() / ColumnCount(); }

  std::string_view Cell(size_t row, size_t column) const;

  // Appends one row. Precondition: cells.size() == ColumnCount().
  void AddRow(std::initializer_list<std::string_view> cells);
  void AddRow(const std::vector<std::string>& cells);

  // Row-at-a-time building without temporaries: call AddCell ColumnCount()
  // times per row.
  void AddCell(std::string_view text);

  void Reserve(size_t rows, size_t textBytes);

  friend bool operator==(const Grid&, const Grid&) = default;

 private:
  std::vector<std::string> headings_;
  std::string text_;
  std::vector<uint32_t> ends_;  // end offset in text_ of every cell, row-major
};

}  // namespace zs

#endif  // ZEPHYRSTAT_CORE_GRID_H_
