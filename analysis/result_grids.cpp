#include "analysis/result_grids.h"

#include <array>
#include <cctype>
#include <charconv>
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

// A whole number in plain decimal without a heap allocation.
class DecimalText {
 public:
  explicit DecimalText(int64_t value)
      : end_(std::to_chars(digits_, digits_ + sizeof digits_, value).ptr) {}
  std::string_view view() const {
    return std::string_view(digits_, static_cast<size_t>(end_ - digits_));
  }

 private:
  char digits_[24];
  char* end_;
};

}  // namespace

std::string DoubleText(double value) { return GeneralText(value, 15); }

std::string SingleText(float value) { return GeneralText(static_cast<double>(value), 7); }

Grid HitListGrid(const HistoryIndex& index, const std::vector<Hit>& hits, SearchType type,
                 const ShowRules& rules) {
  // Texts of every value a field can hold, made once: a grid of a whole
  // history has millions of cells.
  std::array<std::string, kMaxIndexedValue + 1> valueTexts;
  for (int value = 0; value <= kMaxIndexedValue; ++value) {
    valueTexts[value] =
        type == SearchType::kZodiac ? ZodiacName(value - rules.sxIni) : std::to_string(value);
  }
  Grid grid(HitListHeadings());
  grid.Reserve(hits.size(), hits.size() * 48);
  int64_t row = 0;
  for (const Hit& hit : hits) {
    const size_t draw = static_cast<size_t>(hit.idx - 1);
    grid.AddCell(ShownIssue(index.Issue(draw), rules.threeDigit));
    for (int p = 0; p < kPositions; ++p) {
      const int value = index.Field(draw, type, p);
      if (value >= 0 && value <= kMaxIndexedValue) {
        grid.AddCell(valueTexts[value]);
      } else {
        grid.AddCell(type == SearchType::kZodiac ? ZodiacName(value - rules.sxIni)
                                                 : std::to_string(value));
      }
    }
    grid.AddCell(DecimalText(hit.omission).view());
    grid.AddCell(DecimalText(++row).view());
  }
  return grid;
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

}  // namespace zs
