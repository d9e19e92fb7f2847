// The history grid: heading "期号", "第1码" … "第8码"; one row per draw in
// issue order, the shown issue and the eight numbers as stored (5 shows "5").
// A row is formatted when it is read, from the shared draws, so the grid of
// any history is made at once and holds no text.
#ifndef ZEPHYRSTAT_ANALYSIS_HISTORY_GRID_H_
#define ZEPHYRSTAT_ANALYSIS_HISTORY_GRID_H_

#include <memory>
#include <string>
#include <vector>

#include "core/grid_source.h"
#include "store/draw_pack.h"

namespace zs {

class HistoryGrid final : public GridSource {
 public:
  HistoryGrid(std::shared_ptr<const PackedHistory> draws, bool threeDigit);

  const std::vector<std::string>& Headings() const override;
  size_t RowCount() const override { return draws_->DrawCount(); }
  std::string_view CellText(size_t row, size_t column, std::string& scratch) const override;

 private:
  std::shared_ptr<const PackedHistory> draws_;
  bool threeDigit_;
};

}  // namespace zs

#endif  // ZEPHYRSTAT_ANALYSIS_HISTORY_GRID_H_
