// The number selection panel of the group calculation (组合检索): what each
// of the twenty boxes stands for under a search type, its caption, which
// boxes are shown, how many boxes count, and the panel's checked state with
// its three buttons 全选, 清空 and 反选.
//
// Box j (1..20) stands for: number j; zodiac value j − 1 + the zodiac base
// (caption the name of sign j − 1); tens or units digit j − 1; digit sum j;
// segment value j − 1 + the segment base. So with either base every value
// has a box. Some types count boxes above the ones shown (tens 4–5, sums
// 11–13, segments 6–7); only 全选 and 反选 check them, and their values occur
// in no draw.
#ifndef ZEPHYRSTAT_ANALYSIS_SELECTION_PANEL_H_
#define ZEPHYRSTAT_ANALYSIS_SELECTION_PANEL_H_

#include <array>
#include <string>
#include <vector>

#include "core/draw.h"
#include "core/settings.h"

namespace zs {

constexpr int kSelectionBoxes = 20;

struct PanelBases {
  int zodiacBase = 1;
  int segmentBase = 1;

  static PanelBases Of(const Settings& settings) {
    return {settings.zodiacBase, settings.segmentBase};
  }
};

// Boxes 1..BoxCount(type) take part in the calculation.
int BoxCount(SearchType type);
// Boxes 1..ShownBoxCount(type) are visible.
int ShownBoxCount(SearchType type);
// The value box `box` stands for under `type`.
int BoxValue(SearchType type, int box, const PanelBases& bases);
// The caption of a shown box.
std::string BoxCaption(SearchType type, int box, const PanelBases& bases);
// How the box is written in a combination label: numbers and digit sums
// with two digits, zodiac values by name, the others in plain decimal.
std::string BoxLabel(SearchType type, int box, const PanelBases& bases);

class SelectionPanel {
 public:
  explicit SelectionPanel(SearchType type = SearchType::kNumber) : type_(type) {}

  SearchType type() const { return type_; }
  // A new type clears every box.
  void ChangeType(SearchType type);

  bool Checked(int box) const { return checked_[box - 1]; }
  void SetChecked(int box, bool checked) { checked_[box - 1] = checked; }
  // The three buttons act on all twenty boxes, hidden ones included.
  void SelectAll() { checked_.fill(true); }
  void ClearAll() { checked_.fill(false); }
  void Invert();

  // The checked boxes among 1..BoxCount(type), ascending.
  std::vector<int> SelectedBoxes() const;
  // How many of them there are, as the count box shows it.
  int SelectedCount() const { return static_cast<int>(SelectedBoxes().size()); }

 private:
  SearchType type_;
  std::array<bool, kSelectionBoxes> checked_{};
};

}  // namespace zs

#endif  // ZEPHYRSTAT_ANALYSIS_SELECTION_PANEL_H_
