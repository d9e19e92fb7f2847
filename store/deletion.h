// Deleting draws from the end of the history. The single-draw delete removes
// the row directly; the multi-draw deletes write the draws that remain to the
// backup file lsbf.txt and rebuild the table from it, deriving every row anew
// under the given rules. Each delete is one change (the draws it keeps are
// read inside it) and is followed by a compaction of the file, whose failure
// does not undo the committed delete but comes back as a warning.
#ifndef ZEPHYRSTAT_STORE_DELETION_H_
#define ZEPHYRSTAT_STORE_DELETION_H_

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "core/derivation.h"
#include "core/draw.h"
#include "store/history_store.h"

namespace zs {

inline constexpr const char* kBackupFileName = "lsbf.txt";

struct DeleteOutcome {
  int64_t deleted = 0;  // draws deleted (committed)
  // Set when the file could not be compacted after the delete: the history
  // is complete, the file only larger than it need be until the next
  // compaction that succeeds.
  std::optional<std::string> compactionWarning;
};

// One backup line: the stored issue's digits, a blank, then the eight numbers
// as two digits each followed by a blank (no line end).
std::string BackupLine(const Draw& draw, bool threeDigit);

// "删除最后历史": deletes the newest draw; deletes nothing when the history
// is empty.
DeleteOutcome DeleteLastDraw(HistoryStore& store);

// "删除最后指定数量期历史": keeps every draw but the newest `count`. A count
// of 0 or less deletes nothing and leaves lsbf.txt untouched.
DeleteOutcome DeleteLastDraws(HistoryStore& store, int64_t count,
                              const std::filesystem::path& folder, const DerivationRules& rules);

// "删除到选定期": keeps every draw whose issue is not above `lastKept`. A
// value of 0 or less deletes nothing and leaves lsbf.txt untouched.
DeleteOutcome DeleteDrawsAfter(HistoryStore& store, int32_t lastKept,
                               const std::filesystem::path& folder, const DerivationRules& rules);

// Replaces the history with the draws of `folder`/lsbf.txt, derived under
// `rules`.
void RebuildFromBackup(HistoryStore& store, const std::filesystem::path& folder,
                       const DerivationRules& rules);

}  // namespace zs

#endif  // ZEPHYRSTAT_STORE_DELETION_H_
