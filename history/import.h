// The text import ("读取历史号文本"): replaces the stored history with the
// draws of a history text file. The file is read and parsed once, before the
// history is touched, into an inspection that says what the file holds (so
// that a front end can ask about it first); the replacement stores that
// inspection's draws in one transaction.
#ifndef ZEPHYRSTAT_HISTORY_IMPORT_H_
#define ZEPHYRSTAT_HISTORY_IMPORT_H_

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "core/derivation.h"
#include "core/history_text.h"
#include "store/history_store.h"

namespace zs {

struct ImportReport {
  int64_t stored = 0;     // draws stored
  int64_t inherited = 0;  // stored draws that inherited numbers from the draw before
  int64_t skipped = 0;    // lines that yielded no draw
};

// Larger files are refused before reading: no history comes near it.
inline constexpr uint64_t kMaxImportBytes = 64 * 1024 * 1024;
// More draws than 84 years at 97 a day: refused while reading. Together the
// two limits keep an import under 300 MB of memory.
inline constexpr size_t kMaxImportDraws = 3'000'000;

// What the parse of a file continues from: lines without an issue of their
// own count on from the issue after the last stored draw, and a short first
// line inherits from the draw before it.
struct ImportBasis {
  int32_t runningIssue = 0;
  Numbers inherited{};
  bool operator==(const ImportBasis&) const = default;
};
ImportBasis ImportBasisOf(HistoryStore& store);

// A history text file read and parsed against a basis.
struct HistoryFileInspection {
  std::filesystem::path file;
  ImportBasis basis;
  DrawReadout readout;

  int64_t draws() const { return static_cast<int64_t>(readout.draws.size()); }
  // Every non-blank line is a draw or is counted as unreadable.
  int64_t unreadableLines() const { return readout.skipped; }
  int64_t nonBlankLines() const { return draws() + unreadableLines(); }
  // Fewer than half of the non-blank lines are draws: random bytes, one huge
  // line or a file of another kind rather than a history.
  bool MostlyUnreadable() const { return 2 * draws() < nonBlankLines(); }
};

// Throws StoreError when the file is no regular file or cannot be read, and
// InputError when it is larger than kMaxImportBytes or holds more than
// kMaxImportDraws draws.
HistoryFileInspection InspectHistoryFile(const std::filesystem::path& file,
                                         const ImportBasis& basis);

// The same over a file's bytes already in memory; `file` names them in
// messages and is read again only when the history's end moves before the
// import (ImportInspectedFile).
HistoryFileInspection InspectHistoryText(std::string_view bytes, const ImportBasis& basis,
                                         const std::filesystem::path& file);

// "文件 … 中有 N 期历史号码，另有 M 个非空行无法读取；现有历史号码 K 期。"
std::string DescribeInspection(const HistoryFileInspection& inspection, int64_t storedDraws);

// Replaces the history with the inspection's draws. When another program
// changed the history's end since the inspection, the file is parsed again
// against the new basis. Throws InputError when the file yields no draw; the
// history is then unchanged.
ImportReport ImportInspectedFile(HistoryStore& store, const HistoryFileInspection& inspection,
                                 const DerivationRules& rules);

// Inspects the file against the stored history and imports it, unasked.
ImportReport ImportHistoryFile(HistoryStore& store, const std::filesystem::path& file,
                               const DerivationRules& rules);

}  // namespace zs

#endif  // ZEPHYRSTAT_HISTORY_IMPORT_H_
