#include "analysis/history_grid.h"

#include "core/issue_number.h"

namespace zs {

HistoryGrid::HistoryGrid(std::shared_ptr<const PackedHistory> draws, bool threeDigit)
    : draws_(std::move(draws)), threeDigit_(threeDigit) {}

const std::vector<std::string>& HistoryGrid::Headings() const {
  static const std::vector<std::string> kHeadings = {"期号",  "第1码", "第2码", "第3码", "第4码",
                                                     "第5码", "第6码", "第7码", "第8码"};
  return kHeadings;
}

std::string_view HistoryGrid::CellText(size_t row, size_t column, std::string& scratch) const {
  if (column == 0) return scratch = ShownIssue(draws_->issues[row], threeDigit_);
  const int number = draws_->Field(row, static_cast<int>(SearchType::kNumber), int(column) - 1);
  return DecimalCellText(number, scratch);
}

}  // namespace zs
