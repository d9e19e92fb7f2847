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

std::optional<size_t> EditionChoice::index() const {
  if (number_ < 0 || number_ >= static_cast<int>(Editions().size())) return std::nullopt;
  return static_cast<size_t>(number_);
}

std::string_view EditionCode(EditionChoice choice) {
  const std::optional<size_t> index = choice.index();
  return index ? Editions()[*index].code : "";
}

int DrawsPerDay(EditionChoice choice) {
  const std::optional<size_t> index = choice.index();
  return index ? Editions()[*index].drawsPerDay : 84;
}

// Only these two numbers select three digits: any other number outside 0..7
// means no edition but keeps the two-digit sequence.
bool UsesThreeDigitSequence(EditionChoice choice) {
  return choice.stored() == EditionChoice().stored() || choice.stored() == 568;
}

EditionChoice EditionNamedBy(std::string_view fileName) {
  for (size_t index = 0; index < Editions().size(); ++index) {
    if (fileName.starts_with(Editions()[index].caption)) return EditionChoice::Of(index);
  }
  return EditionChoice();
}

}  // namespace zs
