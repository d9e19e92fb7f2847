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

}  // namespace

std::string PageText(std::string_view html) {
  const GumboOptions options = ParseOptions();
  const std::string capped = CapNesting(html);
  std::unique_ptr<GumboOutput, GumboOutputDeleter> output(
      gumbo_parse_with_options(&options, capped.data(), capped.size()));

  // An explicit stack rather than recursion: a page may nest elements
  // arbitrarily deep.
  struct Frame {
    const GumboNode* node;
    unsigned nextChild;
  };
  TextBuilder builder;
  int keepWhiteSpaceDepth = 0;
  std::vector<Frame> stack;

  auto open = [&](const GumboNode* node) {
    switch (node->type) {
      case GUMBO_NODE_TEXT:
      case GUMBO_NODE_CDATA:
      case GUMBO_NODE_WHITESPACE:
        builder.Text(node->v.text.text, keepWhiteSpaceDepth > 0);
        return;
      case GUMBO_NODE_ELEMENT:
        break;
      default:  // comments, and template contents, which are never shown
        return;
    }
    const GumboElement& element = node->v.element;
    if (IsHidden(element)) return;
    if (EndsLine(element.tag)) builder.EndLine();
    if (element.tag == GUMBO_TAG_BR) builder.ForcedLineBreak();
    if (IsCell(node) && HasCellBefore(node)) builder.NextCell();
    if (KeepsWhiteSpace(element.tag)) ++keepWhiteSpaceDepth;
    stack.push_back({node, 0});
  };
  auto close = [&](const GumboNode* node) {
    const GumboElement& element = node->v.element;
    if (KeepsWhiteSpace(element.tag)) --keepWhiteSpaceDepth;
    if (EndsLine(element.tag)) builder.EndLine();
  };

  open(output->root);
  while (!stack.empty()) {
    Frame& frame = stack.back();
    const GumboVector& children = frame.node->v.element.children;
    if (frame.nextChild < children.length) {
      const auto* child = static_cast<const GumboNode*>(children.data[frame.nextChild++]);
      open(child);  // may reallocate the stack: `frame` is not used after this
    } else {
      const GumboNode* done = frame.node;
      stack.pop_back();
      close(done);
    }
  }
  return builder.Finish();
}

}  // namespace zs
