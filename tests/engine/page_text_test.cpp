#include "acquire/page_text.h"

#include <gtest/gtest.h>

#include <string>

namespace zs {
namespace {

struct PageTextCase {
  const char* name;
  std::string html;
  std::string text;
};

class PageTextTest : public testing::TestWithParam<PageTextCase> {};

TEST_P(PageTextTest, ShowsWhatABrowserShows) {
  EXPECT_EQ(PageText(GetParam().html), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Layout, PageTextTest,
    testing::Values(
        PageTextCase{"CellsTabRowsLines",
                     "<table><tr><th>期号</th><th>号码</th></tr>"
                     "<tr><td>14011601</td><td>03 07</td></tr></table>",
                     "期号\t号码\n14011601\t03 07"},
        PageTextCase{"EmptyFirstCellKeepsNoLeadingTab",
                     "<table><tr><td></td><td>x</td></tr></table>", "x"},
        PageTextCase{"BlocksEndLines",
                     "<h1>开奖</h1><p>one</p><div>two<div>three</div></div><ul><li>a<li>b</ul>",
                     "开奖\none\ntwo\nthree\na\nb"},
        PageTextCase{"BreakEndsEvenAnEmptyLine", "a<br>b<br><br>c", "a\nb\n\nc"},
        PageTextCase{"WhiteSpaceCollapses", "<p>  a \n\t b  </p>\n\n<p> c</p>", "a b\nc"},
        PageTextCase{"InlineElementsAddNothing",
                     "<td><b>14011601</b><span>03</span>,<i>07</i></td>", "1401160103,07"},
        PageTextCase{"PreKeepsWhiteSpace", "<pre>a  b\n c</pre>", "a  b\n c"},
        PageTextCase{"TitleIsNotBodyText",
                     "<html><head><title>T</title></head><body>B</body></html>", "B"}),
    [](const testing::TestParamInfo<PageTextCase>& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Hidden, PageTextTest,
    testing::Values(PageTextCase{"Script", "a<script>var d = '1401160103 07';</script>b", "ab"},
                    PageTextCase{"Style", "<style>td::after { content: '03 07' }</style>a", "a"},
                    PageTextCase{"NoScript", "a<noscript>enable scripts</noscript>", "a"},
                    PageTextCase{"Template", "<template><p>1401160103</p></template>a", "a"},
                    PageTextCase{"HiddenAttribute", "<div hidden>x</div><div>y</div>", "y"},
                    PageTextCase{"DisplayNone",
                                 "<div style=\"color: red; DISPLAY : none\">x</div>y", "y"},
                    PageTextCase{"Comment", "a<!-- 1401160103 -->b", "ab"}),
    [](const testing::TestParamInfo<PageTextCase>& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Entities, PageTextTest,
    testing::Values(PageTextCase{"Named", "a&amp;b&lt;c&gt;", "a&b<c>"},
                    PageTextCase{"NonBreakingSpaceStaysOneCharacter", "03&nbsp;07&nbsp;&nbsp;15",
                                 "03\u00a007\u00a0\u00a015"},
                    PageTextCase{"Numeric", "&#48;3&#x2C;07&middot;", "03,07\u00b7"},
                    PageTextCase{"WithoutSemicolon", "a&ampb", "a&b"}),
    [](const testing::TestParamInfo<PageTextCase>& info) { return std::string(info.param.name); });

// A page of many pieces reads as its rows, each read alone, line after
// line: rows hidden, left open or preformatted among them, inside a frame of
// blocks and inline elements, with text after the table.
TEST(PageTextPiecesTest, ALargePageReadsAsItsRowsReadAlone) {
  const std::string rows[] = {
      "<tr><td>r 1401160{n}</td><td> <span>c</span>  {n} </td></tr>\n",
      "<tr hidden><td>hidden {n}</td></tr>\n",
      "<tr><td><pre>p  {n}</pre><td>&nbsp;x<b>{n}</b>\n",
      "<tr><th>h</th><td style=\"display:none\">{n}</td><td>{n}<br>{n}</td></tr>",
  };
  std::string html = "<!DOCTYPE html><html><body><div class=\"a b\"><font><table><tbody>\n";
  std::string expected;
  for (int i = 0; html.size() < (1u << 20); ++i) {
    std::string row = rows[i % 4];
    for (size_t at; (at = row.find("{n}")) != std::string::npos;) {
      row.replace(at, 3, std::to_string(i));
    }
    html += row;
    const std::string alone = PageText("<table>" + row + "</table>");
    if (!alone.empty()) expected += alone + "\n";
  }
  html += "</tbody></table>after</font></div></body></html>";
  EXPECT_EQ(PageText(html), expected + "after");
}

TEST(PageTextDepthTest, DeeplyNestedPageDoesNotExhaustTheStack) {
  constexpr int kDepth = 100000;
  std::string html;
  for (int i = 0; i < kDepth; ++i) html += "<span>";
  html += "deep";
  EXPECT_EQ(PageText(html), "deep");
}

}  // namespace
}  // namespace zs
