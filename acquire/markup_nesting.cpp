#include "acquire/markup_nesting.h"

#include <algorithm>
#include <initializer_list>
#include <unordered_map>

namespace zs {
namespace {

// Longer tag names are told apart by their first characters only.
constexpr size_t kNameChars = 32;
// How far below the innermost element an implied end is looked for: enough
// for real pages, and it keeps every tag's cost constant.
constexpr size_t kImpliedEndReach = 8;

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsNameChar(char c) { return IsAsciiLetter(c) || (c >= '0' && c <= '9') || c == '-'; }
char Lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

bool OneOf(std::string_view name, std::initializer_list<std::string_view> names) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

bool IsVoid(std::string_view name) {
  return OneOf(name, {"area", "base", "br", "col", "embed", "hr", "img", "input", "link", "meta",
                      "param", "source", "track", "wbr", "keygen", "basefont", "bgsound", "frame"});
}

// Elements whose contents are text up to their own end tag.
bool IsRawText(std::string_view name) {
  return OneOf(name, {"script", "style", "textarea", "title", "xmp", "iframe", "noembed",
                      "noframes", "noscript"});
}

// Start tags that end an open paragraph.
bool ClosesParagraph(std::string_view name) {
  return OneOf(
      name, {"address",    "article", "aside",  "blockquote", "details", "div",  "dl",   "fieldset",
             "figcaption", "figure",  "footer", "form",       "h1",      "h2",   "h3",   "h4",
             "h5",         "h6",      "header", "hgroup",     "hr",      "main", "menu", "nav",
             "ol",         "p",       "pre",    "section",    "table",   "ul"});
}

// The position just past the tag whose name ends at `from`: after its '>',
// skipping quoted attribute values; the end of the text when it never ends.
size_t TagEnd(std::string_view html, size_t from) {
  bool afterEquals = false;
  for (size_t i = from; i < html.size(); ++i) {
    const char c = html[i];
    if (c == '>') return i + 1;
    if ((c == '"' || c == '\'') && afterEquals) {
      const size_t close = html.find(c, i + 1);
      if (close == std::string_view::npos) return html.size();
      i = close;
      afterEquals = false;
    } else if (c == '=') {
      afterEquals = true;
    } else if (c != ' ' && c != '\t' && c != '\n' && c != '\r' && c != '\f') {
      afterEquals = false;
    }
  }
  return html.size();
}

// Where the end tag "</name" of a raw text element starts, any case.
size_t RawTextEnd(std::string_view html, size_t from, std::string_view name) {
  for (size_t at = html.find("</", from); at != std::string_view::npos;
       at = html.find("</", at + 2)) {
    const std::string_view rest = html.substr(at + 2);
    if (rest.size() >= name.size() && std::equal(name.begin(), name.end(), rest.begin(),
                                                 [](char a, char b) { return a == Lower(b); })) {
      return at;
    }
  }
  return html.size();
}

// Elements a row of a results page may sit in; a cut is made only when
// every open element is one of them, so that the next piece, opening them
// again, is parsed as the page is (no foreign content, select, template or
// raw text around it).
bool MayEncloseACut(std::string_view name) {
  return OneOf(name, {"html",   "body", "div",   "center", "section", "article", "main", "header",
                      "footer", "nav",  "aside", "form",   "font",    "span",    "b",    "i",
                      "strong", "em",   "p",     "table",  "tbody",   "thead",   "tfoot"});
}

// The elements open at the point of the scan, innermost last.
class OpenElements {
 public:
  // With `keepTags`, the start tags are kept for StartTags().
  explicit OpenElements(bool keepTags) : keepTags_(keepTags) {}

  size_t Depth() const { return names_.size(); }

  void Push(const std::string& name, std::string_view tag) {
    names_.push_back(name);
    if (keepTags_) tags_.emplace_back(tag);
    ++counts_[name];
  }

  // Whether a row starting now may begin a new piece: it sits right in a
  // table body and everything around it may enclose a cut.
  bool AtRowOfTableBody() const {
    if (names_.empty() || !OneOf(names_.back(), {"table", "tbody", "thead", "tfoot"})) {
      return false;
    }
    return std::all_of(names_.begin(), names_.end(), MayEncloseACut);
  }

  std::string StartTags() const {
    std::string joined;
    for (const std::string& tag : tags_) joined += tag;
    return joined;
  }

  // Closes the innermost open `name` and everything inside it; false when
  // none is open.
  bool CloseThrough(const std::string& name) {
    const auto found = counts_.find(name);
    if (found == counts_.end() || found->second == 0) return false;
    while (Pop() != name) {
    }
    return true;
  }

  // The end HTML implies when `name` starts: the nearest open element among
  // `ended`, looked for near the innermost one and not past a `boundary`,
  // closes with everything inside it.
  void CloseImplied(std::initializer_list<std::string_view> ended,
                    std::initializer_list<std::string_view> boundary) {
    const size_t reach = std::min(kImpliedEndReach, names_.size());
    for (size_t i = 0; i < reach; ++i) {
      const std::string& open = names_[names_.size() - 1 - i];
      if (OneOf(open, boundary)) return;
      if (OneOf(open, ended)) {
        const size_t pops = i + 1;
        for (size_t k = 0; k < pops; ++k) Pop();
        return;
      }
    }
  }

  void CloseImpliedBy(std::string_view name) {
    if (ClosesParagraph(name)) CloseImplied({"p"}, {"button", "table", "td", "th"});
    if (name == "li") CloseImplied({"li"}, {"ul", "ol", "menu"});
    if (name == "dt" || name == "dd") CloseImplied({"dt", "dd"}, {"dl"});
    if (name == "td" || name == "th") CloseImplied({"td", "th"}, {"tr", "table"});
    if (name == "tr") CloseImplied({"tr"}, {"table", "thead", "tbody", "tfoot"});
    if (OneOf(name, {"thead", "tbody", "tfoot"})) {
      CloseImplied({"thead", "tbody", "tfoot"}, {"table"});
    }
    if (name == "option" || name == "optgroup") CloseImplied({"option"}, {"select"});
    if (name == "optgroup") CloseImplied({"optgroup"}, {"select"});
  }

 private:
  std::string Pop() {
    std::string name = std::move(names_.back());
    names_.pop_back();
    if (keepTags_) tags_.pop_back();
    --counts_[name];
    return name;
  }

  std::vector<std::string> names_;
  bool keepTags_;
  std::vector<std::string> tags_;  // the start tags as written, for StartTags()
  std::unordered_map<std::string, size_t> counts_;
};

}  // namespace

std::string CapNesting(std::string_view html, size_t maxDepth, std::vector<MarkupCut>* cuts,
                       size_t cutSpacing) {
  std::string out;
  out.reserve(html.size());
  OpenElements open(cuts != nullptr);
  // Start tags left out, by name: their end tags are left out too.
  std::unordered_map<std::string, size_t> leftOut;

  size_t pos = 0;
  while (pos < html.size()) {
    const size_t lt = html.find('<', pos);
    if (lt == std::string_view::npos) {
      out.append(html.substr(pos));
      break;
    }
    out.append(html.substr(pos, lt - pos));
    pos = lt;
    const std::string_view rest = html.substr(pos);
    if (rest.starts_with("<!--")) {
      const size_t close = html.find("-->", pos + 4);
      const size_t end = close == std::string_view::npos ? html.size() : close + 3;
      out.append(html.substr(pos, end - pos));
      pos = end;
      continue;
    }
    const bool isEnd = rest.starts_with("</");
    const size_t nameStart = pos + (isEnd ? 2 : 1);
    if (rest.starts_with("<!") || rest.starts_with("<?") || nameStart >= html.size() ||
        !IsAsciiLetter(html[nameStart])) {
      // A declaration, or a '<' that starts no tag: the parser's business.
      out += '<';
      ++pos;
      continue;
    }
    size_t nameEnd = nameStart;
    std::string name;
    for (; nameEnd < html.size() && IsNameChar(html[nameEnd]); ++nameEnd) {
      if (name.size() < kNameChars) name += Lower(html[nameEnd]);
    }
    const size_t tagEnd = TagEnd(html, nameEnd);
    const std::string_view tag = html.substr(pos, tagEnd - pos);
    pos = tagEnd;

    if (isEnd) {
      const auto cut = leftOut.find(name);
      if (cut != leftOut.end() && cut->second > 0) {
        --cut->second;
        continue;
      }
      open.CloseThrough(name);
      out.append(tag);
      continue;
    }
    if (IsVoid(name)) {
      out.append(tag);
      continue;
    }
    open.CloseImpliedBy(name);
    const bool kept = open.Depth() < maxDepth;
    if (cuts != nullptr && kept && name == "tr" &&
        out.size() >= (cuts->empty() ? 0 : cuts->back().at) + cutSpacing &&
        open.AtRowOfTableBody()) {
      cuts->push_back({out.size(), open.StartTags()});
    }
    if (kept) {
      open.Push(name, tag);
      out.append(tag);
    } else {
      ++leftOut[name];
    }
    if (IsRawText(name)) {
      // Its contents are no markup; those of a left-out element go with it.
      const size_t end = RawTextEnd(html, pos, name);
      if (kept) out.append(html.substr(pos, end - pos));
      pos = end;
    }
  }
  return out;
}

}  // namespace zs
