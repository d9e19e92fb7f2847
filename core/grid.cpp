#include "core/grid.h"

#include <cassert>

namespace zs {

Grid::Grid(std::vector<std::string> headings) : headings_(std::move(headings)) {}

std::string_view Grid::Cell(size_t row, size_t column) const {
  const size_t index = row * ColumnCount() + column;
  const size_t begin = index == 0 ? 0 : ends_[index - 1];
  return std::string_view(text_).substr(begin, ends_[index] - begin);
}

void Grid::AddCell(std::string_view text) {
  text_.append(text);
  ends_.push_back(static_cast<uint32_t>(text_.size()));
}

void Grid::AddRow(std::initializer_list<std::string_view> cells) {
  assert(cells.size() == ColumnCount());
  for (std::string_view cell : cells) AddCell(cell);
}

void Grid::AddRow(const std::vector<std::string>& cells) {
  assert(cells.size() == ColumnCount());
  for (const std::string& cell : cells) AddCell(cell);
}

void Grid::Reserve(size_t rows, size_t textBytes) {
  ends_.reserve(rows * ColumnCount());
  text_.reserve(textBytes);
}

}  // namespace zs
