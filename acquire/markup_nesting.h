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
#include <vector>

namespace zs {

inline constexpr size_t kMaxMarkupNesting = 256;

// A place where the capped page may be cut, so that a parser reads it a
// piece at a time: the start of a table row's start tag in the body of a
// table, with the start tags of the elements open there, which the next
// piece repeats before its own markup. A row starts and ends a line of the
// visible text and keeps its cells together, so the text of the pieces put
// together is the text of the page.
struct MarkupCut {
  size_t at = 0;       // offset in the capped page
  std::string reopen;  // the open elements' start tags, outermost first
};

// `html` with the tags that nest deeper than `maxDepth` left out. Runs in
// time linear in the size of `html`. Precondition: maxDepth ≥ 1. With
// `cuts`, also records a cut wherever one is allowed at least `cutSpacing`
// bytes after the last one.
std::string CapNesting(std::string_view html, size_t maxDepth = kMaxMarkupNesting,
                       std::vector<MarkupCut>* cuts = nullptr, size_t cutSpacing = 0);

}  // namespace zs

#endif  // ZEPHYRSTAT_ACQUIRE_MARKUP_NESTING_H_
