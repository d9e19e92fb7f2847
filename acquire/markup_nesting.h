// Caps how deeply a page's elements nest before the HTML parser sees it.
// The parser checks the open elements on every tag, so a page nesting
// hundreds of thousands of elements would cost it quadratic time; no results
// page nests more than a few dozen.
//
// A light scan follows the start and end tags (void elements, the ends that
// HTML implies for li, p, table cells and the like, raw text such as script
// contents) and leaves out every tag that would open an element deeper than
// the cap, with its matching end tag. Text is always kept, so the visible
// text of a page nesting within the cap is unchanged.
#ifndef ZEPHYRSTAT_ACQUIRE_MARKUP_NESTING_H_
#define ZEPHYRSTAT_ACQUIRE_MARKUP_NESTING_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace zs {

inline constexpr size_t kMaxMarkupNesting = 256;

// `html` with the tags that nest deeper than `maxDepth` left out. Runs in
// time linear in the size of `html`. Precondition: maxDepth ≥ 1.
std::string CapNesting(std::string_view html, size_t maxDepth = kMaxMarkupNesting);

}  // namespace zs

#endif  // ZEPHYRSTAT_ACQUIRE_MARKUP_NESTING_H_
