#include "analysis/grid_sort.h"

#include <algorithm>
#include <charconv>
#include <numeric>
#include <optional>
#include <string_view>
#include <vector>

namespace zs {

namespace {

// A percentage ("39.07%") sorts by its number.
std::optional<double> NumberOf(std::string_view text) {
  if (text.ends_with('%')) text.remove_suffix(1);
  double value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || ptr != end) return std::nullopt;
  return value;
}

// Numbers first (by value), then other texts; the empty cell is ordered by
// the caller.
bool Before(std::string_view a, std::string_view b) {
  const std::optional<double> x = NumberOf(a);
  const std::optional<double> y = NumberOf(b);
  if (x && y) return *x < *y;
  if (x || y) return x.has_value();
  return a < b;
}

}  // namespace

Grid SortedByColumn(const Grid& grid, size_t column, bool descending) {
  std::vector<size_t> order(grid.RowCount());
  std::iota(order.begin(), order.end(), size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](size_t r, size_t s) {
    const std::string_view a = grid.Cell(r, column);
    const std::string_view b = grid.Cell(s, column);
    if (a.empty() || b.empty()) return !a.empty() && b.empty();
    return descending ? Before(b, a) : Before(a, b);
  });
  Grid sorted(grid.Headings());
  for (size_t row : order) {
    for (size_t c = 0; c < grid.ColumnCount(); ++c) sorted.AddCell(grid.Cell(row, c));
  }
  return sorted;
}

}  // namespace zs
