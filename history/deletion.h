// Deleting draws from the end of the history, and the rebuild from the
// backup file lsbf.txt.
//
// Every delete removes the rows directly, in one change under the writer
// lock, so it costs what it deletes. The multi-draw deletes leave the table
// as the rebuild from their lsbf.txt would make it: the rows that stay are
// kept as they are when they are what the rebuild derives under the given
// rules (issues rising, numbers 1..20, every field and QQH as the rules give
// them, which the rows stored under these rules always are); otherwise, say
// after a base or edition change, or in a file of an earlier version that
// recorded no issue rule (HistoryStore::NextIssueRule), the rest of the
// history is rebuilt from the kept draws under the rules, as the rebuild from
// lsbf.txt does, at the cost of a whole rebuild that one time. lsbf.txt
// is written only after the commit, so a delete that fails leaves it as it
// was; a delete whose lsbf.txt cannot be written is done all the same and
// says so in a warning.
//
// A delete compacts the file afterwards when a quarter of its pages are free
// (HistoryStore::CompactWhenSparse). A failed compaction does not undo the
// committed delete but comes back as a warning.
#ifndef ZEPHYRSTAT_HISTORY_DELETION_H_
#define ZEPHYRSTAT_HISTORY_DELETION_H_

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
  // "删除到选定期": false when no stored draw has the issue given (every
  // draw after it is deleted all the same). Always true for the others.
  bool lastKeptStored = true;
  // Set when lsbf.txt could not be written after a committed multi-draw
  // delete: the draws are deleted, lsbf.txt is the one of an earlier delete.
  std::optional<std::string> backupWarning;
};

// One backup line: the stored issue's digits, a blank, then the eight numbers
// as two digits each followed by a blank (no line end).
std::string BackupLine(const Draw& draw, bool threeDigit);

// "删除最后历史": deletes the newest draw; deletes nothing when the history
// is empty. Writes no lsbf.txt.
DeleteOutcome DeleteLastDraw(HistoryStore& store);

// "删除最后指定数量期历史": keeps every draw but the newest `count`. A count
// of 0 or less deletes nothing and leaves lsbf.txt untouched.
DeleteOutcome DeleteLastDraws(HistoryStore& store, int64_t count,
                              const std::filesystem::path& folder, const DerivationRules& rules);

// "删除到选定期": keeps every draw whose issue is not above `lastKept`,
// whether or not `lastKept` is stored (lastKeptStored tells which); a
// `lastKept` below every stored issue therefore deletes the whole history.
// A value of 0 or less deletes nothing and leaves lsbf.txt untouched.
DeleteOutcome DeleteDrawsAfter(HistoryStore& store, int32_t lastKept,
                               const std::filesystem::path& folder, const DerivationRules& rules);

// Replaces the history with the draws of `folder`/lsbf.txt, derived under
// `rules`.
void RebuildFromBackup(HistoryStore& store, const std::filesystem::path& folder,
                       const DerivationRules& rules);

}  // namespace zs

#endif  // ZEPHYRSTAT_HISTORY_DELETION_H_
