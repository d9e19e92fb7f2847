#include "analysis/history_grid.h"

#include <charconv>
#include <string>

#include "core/issue_number.h"

namespace zs {

Grid HistoryGrid(const std::vector<Draw>& draws, bool threeDigit) {
  Grid grid({"期号", "第1码", "第2码", "第3码", "第4码", "第5码", "第6码", "第7码", "第8码"});
  // A shown issue has at most 11 characters and a number at most 2.
  grid.Reserve(draws.size(), draws.size() * (11 + kPositions * 2));
  char digits[16];
  for (const Draw& draw : draws) {
    grid.AddCell(ShownIssue(draw.issue, threeDigit));
    for (int number : draw.numbers) {
      const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
      grid.AddCell(std::string_view(digits, end - digits));
    }
  }
  return grid;
}

}  // namespace zs
