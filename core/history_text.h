// Reading draws out of history text: decoding the file's bytes, and the line
// parser shared by the history text import and the backup file lsbf.txt.
//
// Positions inside a line count characters, not bytes, so a file is decoded
// to UTF-32 first: as UTF-8 when it is valid UTF-8, else as GB18030.
#ifndef ZEPHYRSTAT_CORE_HISTORY_TEXT_H_
#define ZEPHYRSTAT_CORE_HISTORY_TEXT_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/draw.h"

namespace zs {

std::u32string DecodeText(std::string_view bytes);
std::string EncodeUtf8(std::u32string_view text);
// EncodeUtf8(DecodeText(bytes)) without the text of four bytes a character
// in between: valid UTF-8 is copied (less a byte order mark), GB18030 is
// converted a line at a time.
std::string TextAsUtf8(std::string_view bytes);

// A line's characters past this many are not read: no history line comes
// near it, and it bounds what one line costs.
inline constexpr size_t kMaxLineCharacters = 1024;

enum class LineLayout {
  // History text file: the issue field is characters 1..9 (numbers from
  // character 11), or a shown issue "20…" of 10 or 11 digits followed by a
  // blank, as the text export writes it. A line starting with 10 or 11
  // digits and a blank that are not "20…" names a year outside 2000..2099
  // and is skipped.
  kHistoryFile,
  // Backup file lsbf.txt: the issue field is the text before the first blank.
  kBackupFile,
};

struct ParsedLine {
  std::optional<int32_t> issue;  // absent: the line continues the numbering
  std::vector<int> numbers;      // the first eight two-digit runs, in order
};

// Parses one line (already trimmed of blanks at both ends).
ParsedLine ParseLine(std::u32string_view line, LineLayout layout);

struct DrawReadout {
  std::vector<Draw> draws;  // in file order
  int64_t inherited = 0;    // stored draws that took numbers from the draw before
  int64_t skipped = 0;      // lines that yield no draw
};

// Reads every line of a decoded text into draws. A line without its own
// issue takes the previous line's issue + 1; the first such line takes
// `runningIssue` + 1, and is skipped when `runningIssue` is 0 (no issue is
// known). A short line inherits the missing positions from the draw handled
// before it (`inherited` for the first). Lines are skipped, and counted, when
// they yield no number (they consume no issue), when a number after
// inheritance lies outside 1..20, or when their issue was already read.
DrawReadout ReadDraws(std::u32string_view text, LineLayout layout, int32_t runningIssue,
                      const Numbers& inherited);

// ReadDraws over undecoded bytes (decoded as DecodeText does), one line at a
// time, so that memory follows the draws kept rather than the size of the
// text. Throws InputError when the text holds more than `maxDraws` draws.
DrawReadout ReadDrawsFromBytes(std::string_view bytes, LineLayout layout, int32_t runningIssue,
                               const Numbers& inherited, size_t maxDraws);

}  // namespace zs

#endif  // ZEPHYRSTAT_CORE_HISTORY_TEXT_H_
