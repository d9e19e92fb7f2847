#include "acquire/page_text.h"

#include <gumbo.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <vector>

#include "acquire/markup_nesting.h"

namespace zs {
namespace {

// Elements whose contents a browser does not show as text.
bool IsInvisibleTag(GumboTag tag) {
  switch (tag) {
    case GUMBO_TAG_HEAD:
    case GUMBO_TAG_TITLE:
    case GUMBO_TAG_SCRIPT:
    case GUMBO_TAG_STYLE:
    case GUMBO_TAG_NOSCRIPT:
    case GUMBO_TAG_TEMPLATE:
    case GUMBO_TAG_IFRAME:
    case GUMBO_TAG_NOFRAMES:
    case GUMBO_TAG_NOEMBED:
    case GUMBO_TAG_OBJECT:
    case GUMBO_TAG_TEXTAREA:
    case GUMBO_TAG_SELECT:
    case GUMBO_TAG_DATALIST:
      return true;
    default:
      return false;
  }
}

bool StyleHidesElement(const GumboAttribute* style) {
  if (style == nullptr) return false;
  std::string compact;
  for (const char* c = style->value; *c != '\0'; ++c) {
    if (!std::isspace(static_cast<unsigned char>(*c))) {
      compact += static_cast<char>(std::tolower(static_cast<unsigned char>(*c)));
    }
  }
  return compact.find("display:none") != std::string::npos ||
         compact.find("visibility:hidden") != std::string::npos;
}

bool IsHidden(const GumboElement& element) {
  if (IsInvisibleTag(element.tag)) return true;
  if (gumbo_get_attribute(&element.attributes, "hidden") != nullptr) return true;
  return StyleHidesElement(gumbo_get_attribute(&element.attributes, "style"));
}

// Elements that start and end a line of their own.
bool EndsLine(GumboTag tag) {
  switch (tag) {
    case GUMBO_TAG_ADDRESS:
    case GUMBO_TAG_ARTICLE:
    case GUMBO_TAG_ASIDE:
    case GUMBO_TAG_BLOCKQUOTE:
    case GUMBO_TAG_BODY:
    case GUMBO_TAG_CAPTION:
    case GUMBO_TAG_CENTER:
    case GUMBO_TAG_DD:
    case GUMBO_TAG_DETAILS:
    case GUMBO_TAG_DIR:
    case GUMBO_TAG_DIV:
    case GUMBO_TAG_DL:
    case GUMBO_TAG_DT:
    case GUMBO_TAG_FIELDSET:
    case GUMBO_TAG_FIGCAPTION:
    case GUMBO_TAG_FIGURE:
    case GUMBO_TAG_FOOTER:
    case GUMBO_TAG_FORM:
    case GUMBO_TAG_H1:
    case GUMBO_TAG_H2:
    case GUMBO_TAG_H3:
    case GUMBO_TAG_H4:
    case GUMBO_TAG_H5:
    case GUMBO_TAG_H6:
    case GUMBO_TAG_HEADER:
    case GUMBO_TAG_HGROUP:
    case GUMBO_TAG_HR:
    case GUMBO_TAG_LEGEND:
    case GUMBO_TAG_LI:
    case GUMBO_TAG_LISTING:
    case GUMBO_TAG_MAIN:
    case GUMBO_TAG_MENU:
    case GUMBO_TAG_NAV:
    case GUMBO_TAG_OL:
    case GUMBO_TAG_P:
    case GUMBO_TAG_PLAINTEXT:
    case GUMBO_TAG_PRE:
    case GUMBO_TAG_SECTION:
    case GUMBO_TAG_SUMMARY:
    case GUMBO_TAG_TABLE:
    case GUMBO_TAG_TBODY:
    case GUMBO_TAG_TFOOT:
    case GUMBO_TAG_THEAD:
    case GUMBO_TAG_TR:
    case GUMBO_TAG_UL:
    case GUMBO_TAG_XMP:
      return true;
    default:
      return false;
  }
}

bool KeepsWhiteSpace(GumboTag tag) {
  return tag == GUMBO_TAG_PRE || tag == GUMBO_TAG_LISTING || tag == GUMBO_TAG_PLAINTEXT ||
         tag == GUMBO_TAG_XMP;
}

bool IsCell(const GumboNode* node) {
  return node->type == GUMBO_NODE_ELEMENT &&
         (node->v.element.tag == GUMBO_TAG_TD || node->v.element.tag == GUMBO_TAG_TH);
}

bool HasCellBefore(const GumboNode* cell) {
  const GumboNode* row = cell->parent;
  if (row == nullptr) return false;
  for (size_t i = 0; i < cell->index_within_parent; ++i) {
    if (IsCell(static_cast<const GumboNode*>(row->v.element.children.data[i]))) return true;
  }
  return false;
}

bool IsCollapsibleSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

// Collects text, turning the separators that markup asks for into at most
// one character at the point where the next visible character arrives, so
// that no line starts or ends with a separator.
class TextBuilder {
 public:
  void Text(std::string_view text, bool keepWhiteSpace) {
    for (char c : text) {
      if (!keepWhiteSpace && IsCollapsibleSpace(c)) {
        Request(Separator::kSpace);
      } else if (c == '\n') {
        ForcedLineBreak();
      } else {
        Put(c);
      }
    }
  }
  void EndLine() { Request(Separator::kLine); }
  void NextCell() { Request(Separator::kTab); }
  // <br>: a line ends even when it is empty.
  void ForcedLineBreak() {
    if (pending_ == Separator::kLine && !AtLineStart()) text_ += '\n';
    pending_ = Separator::kNone;
    text_ += '\n';
  }

  std::string Finish() {
    while (!text_.empty() &&
           (text_.back() == '\n' || text_.back() == ' ' || text_.back() == '\t')) {
      text_.pop_back();
    }
    return std::move(text_);
  }

 private:
  // In rising precedence: a line end absorbs a cell separator or a blank.
  enum class Separator { kNone, kSpace, kTab, kLine };

  bool AtLineStart() const { return text_.empty() || text_.back() == '\n'; }
  void Request(Separator separator) { pending_ = std::max(pending_, separator); }

  void Put(char c) {
    if (!AtLineStart()) {
      if (pending_ == Separator::kLine) {
        text_ += '\n';
      } else if (pending_ == Separator::kTab) {
        text_ += '\t';
      } else if (pending_ == Separator::kSpace && text_.back() != ' ' && text_.back() != '\t') {
        text_ += ' ';
      }
    }
    pending_ = Separator::kNone;
    text_ += c;
  }

  std::string text_;
  Separator pending_ = Separator::kNone;
};

// Recording parse errors costs gumbo a copy of the open-element stack per
// error, which grows quadratically on a deeply nested page; the text needs none.
GumboOptions ParseOptions() {
  GumboOptions options = kGumboDefaultOptions;
  options.max_errors = 0;
  return options;
}

struct GumboOutputDeleter {
  void operator()(GumboOutput* output) const {
    const GumboOptions options = ParseOptions();
    gumbo_destroy_output(&options, output);
  }
};

// The parser's tree takes some thirty times the markup it holds, so a large
// page is parsed a piece of about this size at a time.
constexpr size_t kPieceBytes = 256 * 1024;

// The doctype the page starts with: every later piece starts with it too,
// so that it is parsed in the page's mode.
std::string_view Doctype(std::string_view html) {
  const size_t start = html.find_first_not_of(" \t\r\n\f");
  if (start == std::string_view::npos || html.size() - start < 9) return {};
  const std::string_view rest = html.substr(start);
  if (!std::equal(rest.begin(), rest.begin() + 9, "<!doctype", [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == b;
      })) {
    return {};
  }
  const size_t end = rest.find('>');
  return end == std::string_view::npos ? std::string_view{} : rest.substr(0, end + 1);
}

// Walks the parsed pieces of a page in order, one text for all of them.
class TextWalk {
 public:
  void Piece(std::string_view html) {
    const GumboOptions options = ParseOptions();
    const std::unique_ptr<GumboOutput, GumboOutputDeleter> output(
        gumbo_parse_with_options(&options, html.data(), html.size()));
    // An explicit stack rather than recursion: a page may nest elements
    // arbitrarily deep.
    Open(output->root);
    while (!stack_.empty()) {
      Frame& frame = stack_.back();
      const GumboVector& children = frame.node->v.element.children;
      if (frame.nextChild < children.length) {
        const auto* child = static_cast<const GumboNode*>(children.data[frame.nextChild++]);
        Open(child);  // may reallocate the stack: `frame` is not used after this
      } else {
        const GumboNode* done = frame.node;
        stack_.pop_back();
        Close(done);
      }
    }
  }

  std::string Finish() { return builder_.Finish(); }

 private:
  struct Frame {
    const GumboNode* node;
    unsigned nextChild;
  };

  void Open(const GumboNode* node) {
    switch (node->type) {
      case GUMBO_NODE_TEXT:
      case GUMBO_NODE_CDATA:
      case GUMBO_NODE_WHITESPACE:
        builder_.Text(node->v.text.text, keepWhiteSpaceDepth_ > 0);
        return;
      case GUMBO_NODE_ELEMENT:
        break;
      default:  // comments, and template contents, which are never shown
        return;
    }
    const GumboElement& element = node->v.element;
    if (IsHidden(element)) return;
    if (EndsLine(element.tag)) builder_.EndLine();
    if (element.tag == GUMBO_TAG_BR) builder_.ForcedLineBreak();
    if (IsCell(node) && HasCellBefore(node)) builder_.NextCell();
    if (KeepsWhiteSpace(element.tag)) ++keepWhiteSpaceDepth_;
    stack_.push_back({node, 0});
  }

  void Close(const GumboNode* node) {
    const GumboElement& element = node->v.element;
    if (KeepsWhiteSpace(element.tag)) --keepWhiteSpaceDepth_;
    if (EndsLine(element.tag)) builder_.EndLine();
  }

  TextBuilder builder_;
  int keepWhiteSpaceDepth_ = 0;
  std::vector<Frame> stack_;
};

}  // namespace

std::string PageText(std::string_view html) {
  std::vector<MarkupCut> cuts;
  const std::string capped = CapNesting(html, kMaxMarkupNesting, &cuts, kPieceBytes);
  const std::string_view page = capped;
  const std::string_view doctype = Doctype(page);
  TextWalk walk;
  walk.Piece(page.substr(0, cuts.empty() ? page.size() : cuts.front().at));
  std::string piece;
  for (size_t i = 0; i < cuts.size(); ++i) {
    const size_t end = i + 1 < cuts.size() ? cuts[i + 1].at : page.size();
    piece.assign(doctype);
    piece += cuts[i].reopen;
    piece += page.substr(cuts[i].at, end - cuts[i].at);
    walk.Piece(piece);
  }
  return walk.Finish();
}

}  // namespace zs
