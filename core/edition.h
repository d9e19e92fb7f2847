// The eight regional editions: menu caption, edition code and draws per day.
// One draws-per-day value per edition holds at start-up and when the edition
// is chosen from the menu.
#ifndef ZEPHYRSTAT_CORE_EDITION_H_
#define ZEPHYRSTAT_CORE_EDITION_H_

#include <array>
#include <string_view>

namespace zs {

// GsZl of an empty settings store: no edition chosen.
constexpr int kNoEdition = 556;

struct Edition {
  std::string_view caption;  // "广东快乐十分" …
  std::string_view code;     // "gd" …
  int drawsPerDay;
};

// Indexed by GsZl 0..7.
const std::array<Edition, 8>& Editions();

bool IsEdition(int gsZl);                // 0..7
std::string_view EditionCode(int gsZl);  // "" when no edition is chosen
int DrawsPerDay(int gsZl);               // 84 when no edition is chosen
// Daily sequence numbers have three digits when GsZl is 556 or 568, else two.
bool UsesThreeDigitSequence(int gsZl);
// The edition whose caption a history file's name starts with
// ("广东快乐十分历史号码.txt" is 0, as the files the program ships are named);
// kNoEdition when the name starts with none.
int EditionNamedBy(std::string_view fileName);

}  // namespace zs

#endif  // ZEPHYRSTAT_CORE_EDITION_H_
