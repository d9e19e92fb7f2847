#include "core/history_text.h"

#include <iconv.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <limits>
#include <optional>
#include <string>

#include "core/errors.h"
#include "core/text.h"

namespace zs {
namespace {

constexpr char32_t kReplacement = U'\uFFFD';
constexpr char32_t kByteOrderMark = U'\uFEFF';

// Decodes strict UTF-8 (no overlong forms, no surrogates, nothing past
// U+10FFFF) to `written`, or only checks it when `written` is null. Returns
// the end of what was written, or nullopt as soon as the bytes are not UTF-8.
std::optional<char32_t*> DecodeUtf8To(std::string_view bytes, char32_t* written) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const auto* end = p + bytes.size();
  while (p < end) {
    const unsigned char lead = *p;
    if (lead < 0x80) {
      if (written != nullptr) *written++ = lead;
      ++p;
      continue;
    }
    int length = 0;
    char32_t code = 0;
    char32_t smallest = 0;
    if ((lead & 0xE0) == 0xC0) {
      length = 2, code = lead & 0x1F, smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
      length = 3, code = lead & 0x0F, smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
      length = 4, code = lead & 0x07, smallest = 0x10000;
    } else {
      return std::nullopt;
    }
    if (end - p < length) return std::nullopt;
    for (int i = 1; i < length; ++i) {
      if ((p[i] & 0xC0) != 0x80) return std::nullopt;
      code = (code << 6) | (p[i] & 0x3F);
    }
    if (code < smallest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
      return std::nullopt;
    }
    if (written != nullptr) *written++ = code;
    p += length;
  }
  return written;
}

bool DecodeUtf8(std::string_view bytes, std::u32string& out) {
  // Every byte gives at most one character; writing through a pointer keeps
  // a history of half a million lines quick to decode.
  out.resize(bytes.size());
  const std::optional<char32_t*> end = DecodeUtf8To(bytes, out.data());
  if (!end) return false;
  out.resize(size_t(*end - out.data()));
  return true;
}

// Converts GB18030 text; one converter serves many lines.
class Gb18030Decoder {
 public:
  Gb18030Decoder() {
    const char* target = std::endian::native == std::endian::little ? "UTF-32LE" : "UTF-32BE";
    converter_ = iconv_open(target, "GB18030");
    if (converter_ == reinterpret_cast<iconv_t>(-1)) {
      throw StoreError("无法按 GB18030 解码文本：系统不支持该编码");
    }
  }
  ~Gb18030Decoder() { iconv_close(converter_); }
  Gb18030Decoder(const Gb18030Decoder&) = delete;
  Gb18030Decoder& operator=(const Gb18030Decoder&) = delete;

  void Decode(std::string_view bytes, std::u32string& out) {
    iconv(converter_, nullptr, nullptr, nullptr, nullptr);
    // Every input byte gives at most one character.
    out.assign(bytes.size(), U'\0');
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    char* outPos = reinterpret_cast<char*>(out.data());
    size_t outLeft = out.size() * sizeof(char32_t);
    while (inLeft > 0) {
      if (iconv(converter_, &in, &inLeft, &outPos, &outLeft) != static_cast<size_t>(-1)) break;
      if (errno != EILSEQ && errno != EINVAL) break;
      // A byte that starts no GB18030 character becomes one replacement
      // character, so the rest of the line keeps its character positions.
      *reinterpret_cast<char32_t*>(outPos) = kReplacement;
      outPos += sizeof(char32_t);
      outLeft -= sizeof(char32_t);
      ++in;
      --inLeft;
    }
    out.resize((outPos - reinterpret_cast<char*>(out.data())) / sizeof(char32_t));
  }

 private:
  iconv_t converter_;
};

bool IsDigit(char32_t c) { return c >= U'0' && c <= U'9'; }
bool IsBlank(char32_t c) { return c == U' ' || c == U'\t'; }

bool AllDigits(std::u32string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), IsDigit);
}

// The value of a digit run; a run too long for a stored issue gives 0, which
// no draw is stored under.
int32_t IssueValue(std::u32string_view digits) {
  int64_t value = 0;
  for (char32_t c : digits) {
    value = value * 10 + (c - U'0');
    if (value > std::numeric_limits<int32_t>::max()) return 0;
  }
  return static_cast<int32_t>(value);
}

// The issue field of a line and where its numbers begin.
struct IssueField {
  std::optional<int32_t> issue;
  size_t numbersFrom = 0;
  bool outsideIssueYears = false;  // a shown issue of a year outside 2000..2099
};

// Characters 1 and 6 must be digits: the date part of an issue is never
// written with blanks.
bool DateDigitsPresent(std::u32string_view line) {
  return line.size() >= 6 && IsDigit(line[0]) && IsDigit(line[5]);
}

IssueField HistoryFileIssue(std::u32string_view line) {
  // The text export's own form: "20" + stored issue, then a blank.
  const size_t tokenEnd = std::find_if(line.begin(), line.end(), IsBlank) - line.begin();
  const std::u32string_view token = line.substr(0, tokenEnd);
  if (tokenEnd < line.size() && (token.size() == 10 || token.size() == 11) && AllDigits(token)) {
    if (!token.starts_with(U"20")) return {std::nullopt, 0, true};
    return {IssueValue(token.substr(2)), tokenEnd + 1};
  }
  constexpr size_t kIssueFieldWidth = 9;
  constexpr size_t kNumbersFrom = 10;
  const std::u32string_view field = TrimBlanks(line.substr(0, kIssueFieldWidth));
  if (AllDigits(field) && DateDigitsPresent(line)) return {IssueValue(field), kNumbersFrom};
  return {};
}

IssueField BackupFileIssue(std::u32string_view line) {
  const size_t fieldEnd = std::find_if(line.begin(), line.end(), IsBlank) - line.begin();
  const std::u32string_view field = line.substr(0, fieldEnd);
  if (AllDigits(field) && DateDigitsPresent(line)) {
    return {IssueValue(field), std::min(fieldEnd + 1, line.size())};
  }
  return {};
}

// Every run of two digits, left to right without overlap, is one number; the
// first eight are kept. Returns how many were found.
int ScanNumbers(std::u32string_view text, Numbers& numbers) {
  int found = 0;
  size_t i = 0;
  while (found < kPositions && i + 1 < text.size()) {
    if (IsDigit(text[i]) && IsDigit(text[i + 1])) {
      numbers[found++] = int(text[i] - U'0') * 10 + int(text[i + 1] - U'0');
      i += 2;
    } else {
      ++i;
    }
  }
  return found;
}

struct LineParts {
  std::optional<int32_t> issue;
  bool outsideIssueYears = false;
  Numbers numbers{};
  int count = 0;
};

LineParts Parse(std::u32string_view line, LineLayout layout) {
  const IssueField field =
      layout == LineLayout::kHistoryFile ? HistoryFileIssue(line) : BackupFileIssue(line);
  LineParts parts;
  parts.issue = field.issue;
  parts.outsideIssueYears = field.outsideIssueYears;
  if (field.numbersFrom < line.size()) {
    parts.count = ScanNumbers(line.substr(field.numbersFrom), parts.numbers);
  }
  return parts;
}

bool AllInRange(const Numbers& numbers) {
  return std::all_of(numbers.begin(), numbers.end(),
                     [](int n) { return n >= kMinNumber && n <= kMaxNumber; });
}

// The issues already kept, as an open-addressing hash set: one allocation
// for the whole text instead of one per line. Issues are positive, so 0
// marks a free slot.
class IssueSet {
 public:
  explicit IssueSet(size_t expected)
      : slots_(std::bit_ceil(expected * 2 + 2), 0), shift_(64 - std::countr_zero(slots_.size())) {}

  // Adds the issue; false when it was there already.
  bool Insert(int32_t issue) {
    const size_t mask = slots_.size() - 1;
    // Fibonacci hashing: the high bits of the product spread close issues.
    size_t slot =
        (static_cast<uint64_t>(static_cast<uint32_t>(issue)) * 0x9E3779B97F4A7C15u) >> shift_;
    while (slots_[slot] != 0) {
      if (slots_[slot] == issue) return false;
      slot = (slot + 1) & mask;
    }
    slots_[slot] = issue;
    return true;
  }

 private:
  std::vector<int32_t> slots_;
  int shift_;
};

// Reads draws one line at a time. A line that is skipped never becomes the
// source of a later short line's missing numbers: those always come from the
// last draw actually kept, so a bad number cannot spread to the lines after
// it. Only kept draws reserve their issue, so a valid repeat of a rejected
// line is still read.
class DrawReader {
 public:
  DrawReader(LineLayout layout, int32_t runningIssue, const Numbers& inherited,
             size_t expectedDraws, size_t maxDraws)
      : layout_(layout),
        maxDraws_(maxDraws),
        keptIssues_(expectedDraws),
        previous_(inherited),
        lastIssue_(runningIssue),
        issueKnown_(runningIssue != 0) {
    readout_.draws.reserve(expectedDraws);
  }

  void Line(std::u32string_view line) {
    line = line.substr(0, kMaxLineCharacters);
    if (line.ends_with(U'\r')) line.remove_suffix(1);
    line = TrimBlanks(line);
    // Empty lines are layout, not draws: neither read nor counted.
    if (line.empty()) return;

    const LineParts parts = Parse(line, layout_);
    if (parts.count == 0 || parts.outsideIssueYears) {
      ++readout_.skipped;
      return;
    }
    if (!parts.issue && !issueKnown_) {
      ++readout_.skipped;
      return;
    }
    const int32_t issue =
        parts.issue ? *parts.issue
                    : (lastIssue_ < std::numeric_limits<int32_t>::max() ? lastIssue_ + 1 : 0);
    if (issue <= 0) {
      // No draw is stored under such an issue, and counting on from it would
      // invent issues 1, 2, …: the lines after it need an issue of their own.
      issueKnown_ = false;
      ++readout_.skipped;
      return;
    }
    lastIssue_ = issue;
    issueKnown_ = true;

    Draw draw{issue, previous_};
    std::copy_n(parts.numbers.begin(), parts.count, draw.numbers.begin());
    if (!AllInRange(draw.numbers) || !keptIssues_.Insert(issue)) {
      ++readout_.skipped;
      return;
    }
    if (readout_.draws.size() == maxDraws_) {
      throw InputError("文本中的历史号码超过 " + std::to_string(maxDraws_) +
                       " 期，不是一份历史号码；未读入，历史号码未改变");
    }
    if (parts.count < kPositions) ++readout_.inherited;
    previous_ = draw.numbers;
    readout_.draws.push_back(draw);
  }

  DrawReadout Finish() { return std::move(readout_); }

 private:
  LineLayout layout_;
  size_t maxDraws_;
  DrawReadout readout_;
  IssueSet keptIssues_;
  Numbers previous_;
  int32_t lastIssue_;
  bool issueKnown_;
};

}  // namespace

std::u32string DecodeText(std::string_view bytes) {
  std::u32string text;
  if (!DecodeUtf8(bytes, text)) {
    Gb18030Decoder().Decode(bytes, text);
    return text;
  }
  if (!text.empty() && text.front() == kByteOrderMark) text.erase(0, 1);
  return text;
}

std::string EncodeUtf8(std::u32string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char32_t c : text) {
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = kReplacement;
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (c >> 18)));
      out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

std::string TextAsUtf8(std::string_view bytes) {
  if (DecodeUtf8To(bytes, nullptr)) {
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    return std::string(bytes);
  }
  std::string out;
  out.reserve(bytes.size());
  Gb18030Decoder decoder;
  std::u32string line;
  // '\n' is never part of another character in GB18030.
  for (size_t start = 0; start < bytes.size();) {
    size_t end = bytes.find('\n', start);
    end = end == std::string_view::npos ? bytes.size() : end + 1;
    decoder.Decode(bytes.substr(start, end - start), line);
    out += EncodeUtf8(line);
    start = end;
  }
  return out;
}

ParsedLine ParseLine(std::u32string_view line, LineLayout layout) {
  const LineParts parts = Parse(line, layout);
  return ParsedLine{parts.issue,
                    std::vector<int>(parts.numbers.begin(), parts.numbers.begin() + parts.count)};
}

DrawReadout ReadDraws(std::u32string_view text, LineLayout layout, int32_t runningIssue,
                      const Numbers& inherited) {
  const auto lineCount = static_cast<size_t>(std::count(text.begin(), text.end(), U'\n')) + 1;
  DrawReader reader(layout, runningIssue, inherited, lineCount, std::numeric_limits<size_t>::max());
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(U'\n', start);
    if (end == std::u32string_view::npos) end = text.size();
    reader.Line(text.substr(start, end - start));
    start = end + 1;
  }
  return reader.Finish();
}

// Lines are split on the byte '\n', which in UTF-8 and GB18030 alike is never
// part of another character.
DrawReadout ReadDrawsFromBytes(std::string_view bytes, LineLayout layout, int32_t runningIssue,
                               const Numbers& inherited, size_t maxDraws) {
  const bool utf8 = DecodeUtf8To(bytes, nullptr).has_value();
  std::optional<Gb18030Decoder> gb18030;
  if (!utf8) gb18030.emplace();
  if (utf8 && bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);

  const auto lineCount = static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1;
  DrawReader reader(layout, runningIssue, inherited, std::min(lineCount, maxDraws), maxDraws);
  // A character takes at most four bytes in either encoding.
  constexpr size_t kMaxLineBytes = 4 * kMaxLineCharacters;
  std::u32string line;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    if (end == std::string_view::npos) end = bytes.size();
    size_t take = std::min(end - start, kMaxLineBytes);
    // A UTF-8 line is cut at a character boundary, never before a continuation byte.
    while (utf8 && take > 0 && take < end - start &&
           (static_cast<unsigned char>(bytes[start + take]) & 0xC0) == 0x80) {
      --take;
    }
    const std::string_view lineBytes = bytes.substr(start, take);
    start = end + 1;
    if (utf8) {
      DecodeUtf8(lineBytes, line);
    } else {
      gb18030->Decode(lineBytes, line);
    }
    reader.Line(line);
  }
  return reader.Finish();
}

}  // namespace zs
