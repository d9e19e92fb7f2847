// The names of the twelve zodiac signs, sign 0 (鼠) first, as the grids and
// the selection panel show them.
#ifndef ZEPHYRSTAT_ANALYSIS_ZODIAC_NAMES_H_
#define ZEPHYRSTAT_ANALYSIS_ZODIAC_NAMES_H_

#include <string>

namespace zs {

constexpr int kZodiacSigns = 12;

// The name of sign 0..11; "" for any other sign, which no draw carries.
std::string ZodiacName(int sign);

}  // namespace zs

#endif  // ZEPHYRSTAT_ANALYSIS_ZODIAC_NAMES_H_
