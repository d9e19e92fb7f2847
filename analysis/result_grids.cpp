#include "analysis/result_grids.h"

#include <cctype>
#include <cstdio>

#include "analysis/history_index.h"
#include "analysis/zodiac_names.h"
#include "core/issue_number.h"

namespace zs {

namespace {

std::string GeneralText(double value, int significantDigits) {
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.*g", significantDigits, value);
  std::string text(buffer);
  // The platform writes the exponent with a capital E (1E-05).
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

const std::vector<std::string>& SummaryHeadings() {
  static const std::vector<std::string> kHeadings = {"号码（分组）", "最小遗漏", "最大遗漏",
                                                     "最后遗漏", "大后比"};
  return kHeadings;
}

std::vector<std::string> HitListHeadings() {
  std::vector<std::string> headings = {"期号"};
  for (int p = 1; p <= kPositions; ++p) headings.push_back("平" + std::to_string(p) + "位");
  headings.push_back("遗漏次数");
  headings.push_back("序号");
  return headings;
}

constexpr size_t kOmissionColumn = 1 + kPositions;
constexpr size_t kRowNumberColumn = kOmissionColumn + 1;

}  // namespace

std::string DoubleText(double value) { return GeneralText(value, 15); }

std::string SingleText(float value) { return GeneralText(static_cast<double>(value), 7); }

HitListGrid::HitListGrid(const HistoryIndex& index, std::shared_ptr<const HitList> hits,
                         SearchType type, const ShowRules& rules)
    : draws_(index.Draws()), hits_(std::move(hits)), type_(type), rules_(rules) {
  // The texts of the values a field holds are made once: a whole history's
  // grid shows millions of them.
  for (int value = 0; value <= kMaxIndexedValue; ++value) {
    valueTexts_[value] =
        type == SearchType::kZodiac ? ZodiacName(value - rules.zodiacBase) : std::to_string(value);
  }
}

const std::vector<std::string>& HitListGrid::Headings() const {
  static const std::vector<std::string> kHeadings = HitListHeadings();
  return kHeadings;
}

std::string_view HitListGrid::ValueText(int value, std::string& scratch) const {
  if (value >= 0 && value <= kMaxIndexedValue) return valueTexts_[value];
  if (type_ == SearchType::kZodiac) return scratch = ZodiacName(value - rules_.zodiacBase);
  return DecimalCellText(value, scratch);
}

std::string_view HitListGrid::CellText(size_t row, size_t column, std::string& scratch) const {
  const Hit& hit = hits_->hits[row];
  const size_t draw = static_cast<size_t>(hit.idx - 1);
  if (column == 0) return scratch = ShownIssue(draws_->issues[draw], rules_.threeDigit);
  if (column == kOmissionColumn) return DecimalCellText(hit.omission, scratch);
  if (column == kRowNumberColumn) return DecimalCellText(int64_t(row) + 1, scratch);
  return ValueText(draws_->Field(draw, static_cast<int>(type_), int(column) - 1), scratch);
}

Grid SummaryGrid(const std::string& label, const OmissionFigures& figures) {
  Grid grid(SummaryHeadings());
  grid.AddRow({label, std::to_string(figures.smallest), std::to_string(figures.largest),
               std::to_string(figures.last), DoubleText(figures.Ratio())});
  return grid;
}

Grid OmissionTableGrid(const std::vector<OmissionRecord>& records) {
  Grid grid(SummaryHeadings());
  grid.Reserve(records.size(), records.size() * 40);
  for (const OmissionRecord& record : records) {
    grid.AddRow({record.content, std::to_string(record.smallest), std::to_string(record.largest),
                 std::to_string(record.last), SingleText(record.ratio)});
  }
  return grid;
}

std::optional<OmissionSortKey> SortKeyOfColumn(int column) {
  switch (column) {
    case 1:
      return OmissionSortKey::kSmallest;
    case 2:
      return OmissionSortKey::kLargest;
    case 3:
      return OmissionSortKey::kLast;
    case 4:
      return OmissionSortKey::kRatio;
    default:
      return std::nullopt;
  }
}

int ColumnOfSortKey(OmissionSortKey key) {
  switch (key) {
    case OmissionSortKey::kSmallest:
      return 1;
    case OmissionSortKey::kLargest:
      return 2;
    case OmissionSortKey::kLast:
      return 3;
    case OmissionSortKey::kRatio:
      break;
  }
  return 4;
}

}  // namespace zs
