// The group calculation (分组计算): every combination of k checked boxes of
// the selection panel, in lexicographic order of the boxes, with the
// omission figures over the search range of the draws that carry every value
// of the combination; the rows replace the omission table YL at once.
//
// Refusals come before anything is computed or stored: more checked boxes
// than group size 5 or 6 allows (GroupSizeRefusal), or a
// range box that does not end in a number (InputError). A group size outside
// 1..6, or fewer checked boxes than it, forms no combination and leaves YL
// empty.
#ifndef ZEPHYRSTAT_ANALYSIS_GROUP_CALCULATION_H_
#define ZEPHYRSTAT_ANALYSIS_GROUP_CALCULATION_H_

#include <optional>
#include <string>
#include <vector>

#include "analysis/selection_panel.h"
#include "core/errors.h"
#include "store/draw_pack.h"
#include "store/omission_table.h"

namespace zs {

class HistoryStore;
class HistoryIndex;

constexpr int kMaxGroupSize = 6;
// Too many checked boxes for the group size; the window shows it as a dialog
// of its own rather than in the status bar.
class GroupSizeRefusal : public InputError {
 public:
  using InputError::InputError;
};

struct GroupRequest {
  SearchType type = SearchType::kNumber;
  // Checked boxes 1..20 in any order; boxes above BoxCount(type) are ignored.
  std::vector<int> checkedBoxes;
  int groupSize = 2;
  PanelBases bases;
  std::string startBox;
  std::string endBox;
};

// The boxes that take part: checked, within BoxCount(type), ascending.
std::vector<int> ParticipatingBoxes(SearchType type, const std::vector<int>& checkedBoxes);

// The rows of every combination in enumeration order, without storing them.
// Reads only the draws' stored fields, so a caller without an index (the
// command-line tool) need not build one.
std::vector<OmissionRecord> ComputeGroupRows(const PackedHistory& draws,
                                             const GroupRequest& request);
std::vector<OmissionRecord> ComputeGroupRows(const HistoryIndex& index,
                                             const GroupRequest& request);

// Computes the rows and replaces YL with them in one change of the store.
std::vector<OmissionRecord> RunGroupCalculation(const PackedHistory& draws,
                                                const GroupRequest& request, HistoryStore& store);
std::vector<OmissionRecord> RunGroupCalculation(const HistoryIndex& index,
                                                const GroupRequest& request, HistoryStore& store);
// RunGroupCalculation, returning the table as this calculation stored it,
// ascending by `key`: what another program stores in YL right after it never
// shows in its place.
std::vector<OmissionRecord> RunGroupTable(const PackedHistory& draws, const GroupRequest& request,
                                          HistoryStore& store, OmissionSortKey key);

}  // namespace zs

#endif  // ZEPHYRSTAT_ANALYSIS_GROUP_CALCULATION_H_
