#include "acquire/markup_nesting.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "acquire/page_text.h"

namespace zs {
namespace {

std::string Repeated(const std::string& text, size_t times) {
  std::string out;
  for (size_t i = 0; i < times; ++i) out += text;
  return out;
}

TEST(CapNestingTest, LeavesOutOnlyTheTagsBeyondTheCap) {
  struct Case {
    const char* what;
    std::string html;
    size_t cap;
    std::string capped;
  };
  const Case cases[] = {
      {"deep divs", Repeated("<div>", 5) + "x" + Repeated("</div>", 5), 3,
       Repeated("<div>", 3) + "x" + Repeated("</div>", 3)},
      {"text between left-out tags stays", "<b><i><u>1</u>2</i>3</b>4", 1, "<b>123</b>4"},
      {"siblings do not nest", Repeated("<p>a</p>", 4), 1, Repeated("<p>a</p>", 4)},
      {"implied ends do not nest", "<ul><li>a<li>b<li>c</ul><table><tr><td>1<td>2<tr><td>3</table>",
       3, "<ul><li>a<li>b<li>c</ul><table><tr><td>1<td>2<tr><td>3</table>"},
      {"void elements do not nest", "<p>a<br>b<img src=x>c</p>", 1, "<p>a<br>b<img src=x>c</p>"},
      {"raw text is no markup", "<script>'<div><div>'</script><div>x</div>", 1,
       "<script>'<div><div>'</script><div>x</div>"},
      {"a left-out script goes whole", "<div><script>1401160101</script>y</div>", 1,
       "<div>y</div>"},
      {"quoted '>' inside a tag", "<div title=\"a>b\"><i>x</i></div>", 1,
       "<div title=\"a>b\">x</div>"},
      {"comments and stray '<' are kept", "<div><!-- <i> --> 1 < 2</div>", 1,
       "<div><!-- <i> --> 1 < 2</div>"},
      {"end tag of an unopened element", "<div></span>x</div>", 1, "<div></span>x</div>"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CapNesting(c.html, c.cap), c.capped) << c.what;
  }
}

TEST(CapNestingTest, DeeplyNestedPageKeepsItsText) {
  const size_t depth = 100000;
  const std::string html =
      Repeated("<div>", depth) + "1401160101 02 03 04 05 06 07 08" + Repeated("</div>", depth);
  EXPECT_EQ(PageText(html), "1401160101 02 03 04 05 06 07 08");
}

TEST(CapNestingTest, CutsOnlyBeforeRowsOfATableBodyInPlainSurroundings) {
  struct Case {
    const char* what;
    std::string html;
    std::vector<std::string> reopened;  // at each cut
  };
  const std::string rows = "<tr><td>a</td></tr><tr><td>b</td>";
  const Case cases[] = {
      {"in blocks",
       "<div id=\"x\"><table class='t'><tbody>" + rows,
       {"<div id=\"x\"><table class='t'><tbody>", "<div id=\"x\"><table class='t'><tbody>"}},
      {"the first row after the implied end of the last cell",
       "<table><tr><td>a<tr><td>b",
       {"<table>", "<table>"}},
      {"in a select", "<select><table>" + rows, {}},
      {"in foreign content", "<svg><table>" + rows, {}},
      {"in a table inside a cell", "<table><tr><td><table>" + rows, {"<table>"}},
  };
  for (const Case& c : cases) {
    std::vector<MarkupCut> cuts;
    const std::string capped = CapNesting(c.html, kMaxMarkupNesting, &cuts, 1);
    std::vector<std::string> reopened;
    for (const MarkupCut& cut : cuts) {
      EXPECT_TRUE(capped.substr(cut.at).starts_with("<tr>")) << c.what;
      reopened.push_back(cut.reopen);
    }
    EXPECT_EQ(reopened, c.reopened) << c.what;
  }
}

}  // namespace
}  // namespace zs
