// The caption of each search type as the type options show it ("号码",
// "生肖", "头数", "尾数", "合数", "段数").
#ifndef ZEPHYRSTAT_ANALYSIS_SEARCH_TYPE_CAPTION_H_
#define ZEPHYRSTAT_ANALYSIS_SEARCH_TYPE_CAPTION_H_

#include <array>
#include <string_view>

#include "core/draw.h"

namespace zs {

inline std::string_view SearchTypeCaption(SearchType type) {
  static constexpr std::array<std::string_view, kSearchTypeCount> kCaptions = {
      "号码", "生肖", "头数", "尾数", "合数", "段数"};
  return kCaptions[static_cast<size_t>(type)];
}

}  // namespace zs

#endif  // ZEPHYRSTAT_ANALYSIS_SEARCH_TYPE_CAPTION_H_
