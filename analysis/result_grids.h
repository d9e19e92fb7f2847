// The result grids of the analyses, exactly as the window shows them:
//   - the hit list: "期号", "平1位" … "平8位", "遗漏次数", "序号", a row
//     formatted when it is read, from the shared hits and draws;
//   - the one-row omission summary of a search, ratio in double precision;
//   - the omission table YL, ratio as the stored single;
// and the sort key that a click on a column of the omission table picks.
#ifndef ZEPHYRSTAT_ANALYSIS_RESULT_GRIDS_H_
#define ZEPHYRSTAT_ANALYSIS_RESULT_GRIDS_H_

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "analysis/history_index.h"
#include "analysis/hit_scan.h"
#include "analysis/omission.h"
#include "core/draw.h"
#include "core/grid.h"
#include "store/omission_table.h"

namespace zs {

// What the grids need beyond the figures: the zodiac base (names of zodiac
// values) and the issue form (the shown issue).
struct ShowRules {
  int zodiacBase = 1;
  bool threeDigit = false;
};

// A ratio in the default text of a double: up to 15 significant digits, no
// trailing zeros (0.833333333333333, 2.5).
std::string DoubleText(double value);
// A ratio in the shortest text of a single: up to 7 significant digits
// (0.8333333, 2).
std::string SingleText(float value);

// Columns 1..8 show the stored field of the type at each position: the zodiac
// name for zodiac values, the stored sum field for digit sums.
class HitListGrid final : public GridSource {
 public:
  // Precondition: every hit is a draw of `index`.
  HitListGrid(const HistoryIndex& index, std::shared_ptr<const HitList> hits, SearchType type,
              const ShowRules& rules);

  const std::vector<std::string>& Headings() const override;
  size_t RowCount() const override { return hits_->hits.size(); }
  std::string_view CellText(size_t row, size_t column, std::string& scratch) const override;

 private:
  std::string_view ValueText(int value, std::string& scratch) const;

  std::shared_ptr<const PackedHistory> draws_;
  std::shared_ptr<const HitList> hits_;
  SearchType type_;
  ShowRules rules_;
  std::array<std::string, kMaxIndexedValue + 1> valueTexts_;  // texts of the indexed values
};

Grid SummaryGrid(const std::string& label, const OmissionFigures& figures);

Grid OmissionTableGrid(const std::vector<OmissionRecord>& records);

// The sort key of a click on column 1..4 of the omission table; column 0
// (the labels) and any other column is no key.
std::optional<OmissionSortKey> SortKeyOfColumn(int column);
// The column of the omission table that shows `key`.
int ColumnOfSortKey(OmissionSortKey key);

}  // namespace zs

#endif  // ZEPHYRSTAT_ANALYSIS_RESULT_GRIDS_H_
