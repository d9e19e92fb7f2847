#include "analysis/selection_panel.h"

#include "analysis/search_pattern.h"
#include "analysis/zodiac_names.h"
#include "core/text.h"

namespace zs {

namespace {

struct TypeBoxes {
  int counted;
  int shown;
};

constexpr std::array<TypeBoxes, kSearchTypeCount> kBoxes = {{
    {20, 20},  // numbers
    {12, 12},  // zodiac values
    {5, 3},    // tens digits
    {10, 10},  // units digits
    {13, 10},  // digit sums
    {7, 5},    // segments
}};

}  // namespace

int BoxCount(SearchType type) { return kBoxes[static_cast<int>(type)].counted; }

int ShownBoxCount(SearchType type) { return kBoxes[static_cast<int>(type)].shown; }

int BoxValue(SearchType type, int box, const PanelBases& bases) {
  switch (type) {
    case SearchType::kNumber:
    case SearchType::kSum:
      return box;
    case SearchType::kZodiac:
      return box - 1 + bases.zodiacBase;
    case SearchType::kTens:
    case SearchType::kUnits:
      return box - 1;
    case SearchType::kSegment:
      return box - 1 + bases.segmentBase;
  }
  return box;
}

std::string BoxCaption(SearchType type, int box, const PanelBases& bases) {
  if (type == SearchType::kZodiac) return ZodiacName(box - 1);
  return std::to_string(BoxValue(type, box, bases));
}

std::string BoxLabel(SearchType type, int box, const PanelBases& bases) {
  switch (type) {
    case SearchType::kNumber:
    case SearchType::kSum:
      return TwoDigits(BoxValue(type, box, bases));
    case SearchType::kZodiac:
      return ZodiacName(box - 1);
    default:
      return std::to_string(BoxValue(type, box, bases));
  }
}

void SelectionPanel::ChangeType(SearchType type) {
  ClearAll();
  type_ = type;
}

void SelectionPanel::Invert() {
  for (bool& checked : checked_) checked = !checked;
}

std::vector<int> SelectionPanel::SelectedBoxes() const {
  std::vector<int> boxes;
  for (int box = 1; box <= BoxCount(type_); ++box) {
    if (Checked(box)) boxes.push_back(box);
  }
  return boxes;
}

}  // namespace zs
