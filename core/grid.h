// A stored grid: a heading row and rows of cell texts, exactly as a user sees
// them, built row by row. Every view reads it as a GridSource, so a figure
// can never differ between them.
//
// Cells are kept in one text buffer so that a grid of many rows stays small
// and cheap to build.
#ifndef ZEPHYRSTAT_CORE_GRID_H_
#define ZEPHYRSTAT_CORE_GRID_H_

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "core/grid_source.h"

namespace zs {

class Grid final : public GridSource {
 public:
  Grid() = default;
  explicit Grid(std::vector<std::string> headings);

  const std::vector<std::string>& Headings() const override { return headings_; }
  size_t RowCount() const override { return ColumnCount() == 0 ? 0 : ends_.size() / ColumnCount(); }

  std::string_view Cell(size_t row, size_t column) const;
  std::string_view CellText(size_t row, size_t column, std::string& /*scratch*/) const override {
    return Cell(row, column);
  }

  // Appends one row. Precondition: cells.size() == ColumnCount().
  void AddRow(std::initializer_list<std::string_view> cells);
  void AddRow(const std::vector<std::string>& cells);

  // Row-at-a-time building without temporaries: call AddCell ColumnCount()
  // times per row.
  void AddCell(std::string_view text);

  void Reserve(size_t rows, size_t textBytes);

 private:
  std::vector<std::string> headings_;
  std::string text_;
  std::vector<uint32_t> ends_;  // end offset in text_ of every cell, row-major
};

}  // namespace zs

#endif  // ZEPHYRSTAT_CORE_GRID_H_
