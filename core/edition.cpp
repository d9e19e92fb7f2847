#include "core/edition.h"

namespace zs {

const std::array<Edition, 8>& Editions() {
  static const std::array<Edition, 8> editions = {{
      {"广东快乐十分", "gd", 84},
      {"天津快乐十分", "tj", 84},
      {"湖南快乐十分", "hn", 84},
      {"重庆快乐十分", "cq", 97},
      {"陕西快乐十分", "shx", 71},
      {"山西快乐十分", "sx", 86},
      {"云南快乐十分", "yn", 72},
      {"黑龙江快乐十分", "hlj", 84},
  }};
  return editions;
}

bool IsEdition(int gsZl) { return gsZl >= 0 && gsZl < static_cast<int>(Editions().size()); }

std::string_view EditionCode(int gsZl) { return IsEdition(gsZl) ? Editions()[gsZl].code : ""; }

int DrawsPerDay(int gsZl) { return IsEdition(gsZl) ? Editions()[gsZl].drawsPerDay : 84; }

// Only these two values select three digits: any other value outside 0..7
// means no edition but keeps the two-digit sequence.
bool UsesThreeDigitSequence(int gsZl) { return gsZl == kNoEdition || gsZl == 568; }

int EditionNamedBy(std::string_view fileName) {
  for (int gsZl = 0; gsZl < static_cast<int>(Editions().size()); ++gsZl) {
    if (fileName.starts_with(Editions()[gsZl].caption)) return gsZl;
  }
  return kNoEdition;
}

}  // namespace zs
