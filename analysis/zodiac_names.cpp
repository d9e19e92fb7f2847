#include "analysis/zodiac_names.h"

#include <array>

namespace zs {

std::string ZodiacName(int sign) {
  static constexpr std::array<const char*, kZodiacSigns> kNames = {
      "鼠", "牛", "虎", "兔", "龙", "蛇", "马", "羊", "猴", "鸡", "狗", "猪"};
  if (sign < 0 || sign >= kZodiacSigns) return "";
  return kNames[sign];
}

}  // namespace zs
