// The per-box views of the history (statistics, trend grid): the shown
// selection boxes of a search type as columns, each with its label and the
// set of draws that hit it, and the draws of the search range as rows.
//
// Box j stands for the value the group calculation gives it and carries its
// label in the combinations ("01"…"20", zodiac names, digits). A draw hits a
// box in free mode when any of its eight positions carries the value, in
// fixed mode when the chosen position does (digit sums there are the tens
// plus the units digit, as for the position search). With a draw pattern
// the boxes are the pattern's, each draw hits the one its pattern value
// falls in, and the type, mode and position are not read.
//
// The view shares the index it was made from, so it stays valid, and shows
// that history, however the history changes afterwards; after a change the
// view is made again from the new index.
#ifndef ZEPHYRSTAT_ANALYSIS_BOX_VIEW_H_
#define ZEPHYRSTAT_ANALYSIS_BOX_VIEW_H_

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "analysis/pattern_types.h"
#include "analysis/search_range.h"
#include "analysis/selection_panel.h"
#include "core/draw.h"

namespace zs {

class DrawSet;
class HistoryIndex;

struct BoxViewRequest {
  SearchType type = SearchType::kNumber;
  bool freePositions = true;
  int position = 0;  // 0-based; read in fixed mode only
  PanelBases bases;
  bool threeDigit = false;  // the issue form of the 期号 column
  std::string startBox;     // the range boxes, shown issues
  std::string endBox;
  std::optional<PatternType> pattern;  // a draw pattern instead of the type
};

class BoxView {
 public:
  // Throws InputError (and keeps nothing) when a range box does not end in
  // a number.
  BoxView(std::shared_ptr<const HistoryIndex> index, const BoxViewRequest& request);

  const HistoryIndex& index() const { return *index_; }
  const BoxViewRequest& request() const { return request_; }
  const std::shared_ptr<const HistoryIndex>& sharedIndex() const { return index_; }
  const RangeSpan& span() const { return span_; }
  bool threeDigit() const { return request_.threeDigit; }
  // The draws of the range.
  size_t RowCount() const { return span_.end - span_.begin; }

  // Boxes are 0-based here: column 0 is box 1.
  int BoxCount() const { return static_cast<int>(labels_.size()); }
  const std::string& Label(int box) const { return labels_[static_cast<size_t>(box)]; }
  // nullptr when no stored draw hits the box.
  const DrawSet* Draws(int box) const { return draws_[static_cast<size_t>(box)]; }

 private:
  std::shared_ptr<const HistoryIndex> index_;
  BoxViewRequest request_;
  RangeSpan span_;
  std::vector<std::string> labels_;
  std::vector<const DrawSet*> draws_;
  // The boxes of a draw pattern, which the index does not keep; shared so
  // that a copy of the view points at the same sets.
  std::shared_ptr<const std::vector<DrawSet>> patternDraws_;
};

}  // namespace zs

#endif  // ZEPHYRSTAT_ANALYSIS_BOX_VIEW_H_
