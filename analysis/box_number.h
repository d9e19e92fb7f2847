// The whole number typed into a combo box of the window (the part size of
// the partial search, the group size of the group calculation). A text that
// is no whole number gives nullopt, and the caller keeps the value it had.
#ifndef ZEPHYRSTAT_ANALYSIS_BOX_NUMBER_H_
#define ZEPHYRSTAT_ANALYSIS_BOX_NUMBER_H_

#include <optional>
#include <string_view>

namespace zs {

// Blanks around the number are disregarded; "+3", "3.5" and "" are no number.
std::optional<int> BoxNumber(std::string_view text);

}  // namespace zs

#endif  // ZEPHYRSTAT_ANALYSIS_BOX_NUMBER_H_
