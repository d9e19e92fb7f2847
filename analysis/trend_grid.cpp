#include "analysis/trend_grid.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <string>
#include <vector>

#include "analysis/box_statistics.h"
#include "analysis/box_view.h"
#include "analysis/draw_set.h"
#include "analysis/history_index.h"
#include "core/issue_number.h"

namespace zs {

namespace {

// The position in the history (idx) of the newest draw of `draws` below
// position `draw`; 0 when there is none.
int64_t LastHitBelow(const DrawSet* draws, size_t draw) {
  if (draws == nullptr || draw == 0) return 0;
  size_t word = (draw - 1) / DrawSet::kWordBits;
  uint64_t bits = draws->Word(word) & RangeMask(word, 0, draw);
  while (bits == 0) {
    if (word == 0) return 0;
    bits = draws->Word(--word);
  }
  return static_cast<int64_t>(word * DrawSet::kWordBits) + 63 - std::countl_zero(bits) + 1;
}

std::vector<std::string> Headings(const BoxView& view) {
  std::vector<std::string> headings = {"期号"};
  for (int box = 0; box < view.BoxCount(); ++box) headings.push_back(view.Label(box));
  return headings;
}

// The draws of rows [firstRow, firstRow + rowCount) of the range, cut at
// its end, as a range of their own.
RangeSpan RowSpan(const BoxView& view, size_t firstRow, size_t rowCount) {
  RangeSpan span = view.span();
  span.begin = firstRow >= span.end - span.begin ? span.end : span.begin + firstRow;
  span.end = span.begin + std::min(rowCount, span.end - span.begin);
  span.previousHitIdx = static_cast<int64_t>(span.begin);
  return span;
}

}  // namespace

Grid TrendGrid(const BoxView& view, size_t firstRow, size_t rowCount) {
  const RangeSpan rows = RowSpan(view, firstRow, rowCount);
  const size_t boxes = static_cast<size_t>(view.BoxCount());
  std::vector<int64_t> lastHit(boxes);
  for (size_t box = 0; box < boxes; ++box) {
    lastHit[box] = LastHitBelow(view.Draws(static_cast<int>(box)), rows.begin);
  }
  Grid grid(Headings(view));
  grid.Reserve(rows.end - rows.begin, (rows.end - rows.begin) * (boxes * 3 + 12));
  for (size_t draw = rows.begin; draw < rows.end; ++draw) {
    grid.AddCell(ShownIssue(view.index().Issue(draw), view.threeDigit()));
    const auto idx = static_cast<int64_t>(draw) + 1;
    for (size_t box = 0; box < boxes; ++box) {
      const DrawSet* draws = view.Draws(static_cast<int>(box));
      if (draws != nullptr && draws->Contains(draw)) {
        grid.AddCell(view.Label(static_cast<int>(box)));
        lastHit[box] = idx;
        continue;
      }
      char digits[24];
      const char* end = std::to_chars(digits, digits + sizeof digits, idx - lastHit[box]).ptr;
      grid.AddCell(std::string_view(digits, static_cast<size_t>(end - digits)));
    }
  }
  return grid;
}

Grid TrendGrid(const BoxView& view) { return TrendGrid(view, 0, view.RowCount()); }

Grid TrendFooterGrid(const BoxView& view, size_t firstRow, size_t rowCount) {
  const RangeSpan rows = RowSpan(view, firstRow, rowCount);
  std::vector<std::vector<std::string>> cells = {
      {"出现次数"}, {"平均遗漏"}, {"最大遗漏"}, {"最大连出"}, {"最后遗漏"}};
  for (int box = 0; box < view.BoxCount(); ++box) {
    const BoxFigures figures = FiguresOver(view.Draws(box), rows);
    cells[0].push_back(std::to_string(figures.hitCount));
    cells[1].push_back(figures.AverageText());
    cells[2].push_back(std::to_string(figures.omissions.largest));
    cells[3].push_back(std::to_string(figures.longestRun));
    cells[4].push_back(std::to_string(figures.omissions.last));
  }
  Grid grid(Headings(view));
  for (const auto& row : cells) grid.AddRow(row);
  return grid;
}

int64_t TrendHitOmission(const BoxView& view, size_t row, int box) {
  const size_t draw = view.span().begin + row;
  const DrawSet* draws = view.Draws(box);
  if (draws == nullptr || !draws->Contains(draw)) return 0;
  return static_cast<int64_t>(draw) + 1 - LastHitBelow(draws, draw);
}

}  // namespace zs
