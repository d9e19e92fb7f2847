// The eight regional editions: menu caption, edition code and draws per day,
// and the choice of one of them that the settings keep. One draws-per-day
// value per edition holds at start-up and when the edition is chosen from the
// menu.
#ifndef ZEPHYRSTAT_CORE_EDITION_H_
#define ZEPHYRSTAT_CORE_EDITION_H_

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace zs {

struct Edition {
  std::string_view caption;  // "广东快乐十分" …
  std::string_view code;     // "gd" …
  int drawsPerDay;
};

// Indexed by EditionChoice::index().
const std::array<Edition, 8>& Editions();

// One of Editions(), or none. The settings store keeps the choice as a number:
// 0..7 choose that edition and any other number means none. A "none" keeps its
// number, since the number still decides the width of the daily sequence
// (UsesThreeDigitSequence) and is written back as it was read.
class EditionChoice {
 public:
  // None, as an empty settings store has it.
  constexpr EditionChoice() = default;

  // The choice a stored number stands for.
  static constexpr EditionChoice FromStored(int number) { return EditionChoice(number); }
  // Editions()[index]; index < Editions().size().
  static constexpr EditionChoice Of(size_t index) { return EditionChoice(static_cast<int>(index)); }

  // The number the settings store keeps.
  constexpr int stored() const { return number_; }
  // The index into Editions(); nullopt when no edition is chosen.
  std::optional<size_t> index() const;

  friend bool operator==(const EditionChoice&, const EditionChoice&) = default;

 private:
  constexpr explicit EditionChoice(int number) : number_(number) {}

  int number_ = 556;
};

std::string_view EditionCode(EditionChoice choice);  // "" when no edition is chosen
int DrawsPerDay(EditionChoice choice);               // 84 when no edition is chosen
// Daily sequence numbers have three digits when no edition is chosen and the
// stored number is 556 (that of an empty settings store) or 568, else two.
bool UsesThreeDigitSequence(EditionChoice choice);
// The edition whose caption a history file's name starts with
// ("广东快乐十分历史号码.txt" is 广东, as the files the program ships are named);
// none when the name starts with no caption.
EditionChoice EditionNamedBy(std::string_view fileName);

}  // namespace zs

#endif  // ZEPHYRSTAT_CORE_EDITION_H_
