// The visible text of an HTML page, as a browser shows it (its body's
// innerText): markup removed, entities decoded, the contents of script,
// style, noscript and template elements and of hidden elements left out.
// Runs of white space collapse to one blank except inside pre; block
// elements, list items, table rows and <br> end lines; the cells of a table
// row are separated by a TAB. A non-breaking space stays U+00A0.
//
// The online update reads draws out of this text at fixed character
// offsets, so the text must not gain or lose characters inside a line.
// Elements nested deeper than kMaxMarkupNesting lose their tags (their text
// stays), which keeps the parse linear on any page. A large page is parsed
// in pieces cut between the rows of its tables (MarkupCut), which keeps the
// parser's memory to a small multiple of a piece rather than of the page.
#ifndef ZEPHYRSTAT_ACQUIRE_PAGE_TEXT_H_
#define ZEPHYRSTAT_ACQUIRE_PAGE_TEXT_H_

#include <string>
#include <string_view>

namespace zs {

// Precondition: `html` is UTF-8 (invalid bytes become U+FFFD). Returns UTF-8
// with "\n" line ends and no blank at the start or end of a line.
std::string PageText(std::string_view html);

}  // namespace zs

#endif  // ZEPHYRSTAT_ACQUIRE_PAGE_TEXT_H_
