// A read-only grid as every view reads it (window, command-line tool,
// spreadsheet and text export): a heading row, a number of data rows and the
// text of any cell, exactly as a user sees it.
//
// A stored Grid keeps every cell text; other sources format a cell only when
// it is read, from a few integers a row, so a grid of a whole history costs
// no text until it is shown. A source never changes once made, so one shared
// between threads (an export on a worker thread while the window goes on)
// needs no lock.
#ifndef ZEPHYRSTAT_CORE_GRID_SOURCE_H_
#define ZEPHYRSTAT_CORE_GRID_SOURCE_H_

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zs {

class GridSource {
 public:
  virtual ~GridSource() = default;

  virtual const std::vector<std::string>& Headings() const = 0;
  size_t ColumnCount() const { return Headings().size(); }
  // Data rows; the heading row is not counted.
  virtual size_t RowCount() const = 0;

  // The text of a cell. A source that formats on demand writes it into
  // `scratch` and returns a view of it; the view is valid until `scratch`
  // changes. Reusing one scratch string for a pass over many cells keeps
  // the pass free of allocations. Precondition: row < RowCount(),
  // column < ColumnCount().
  virtual std::string_view CellText(size_t row, size_t column, std::string& scratch) const = 0;

 protected:
  GridSource() = default;
  GridSource(const GridSource&) = default;
  GridSource& operator=(const GridSource&) = default;
};

// A whole number in plain decimal as a cell text, written into `scratch`.
inline std::string_view DecimalCellText(int64_t value, std::string& scratch) {
  char digits[24];
  const char* end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  scratch.assign(digits, static_cast<size_t>(end - digits));
  return scratch;
}

}  // namespace zs

#endif  // ZEPHYRSTAT_CORE_GRID_SOURCE_H_
