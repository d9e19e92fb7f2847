// Deleting draws from the end of the history. The single-draw delete removes
// the row directly; the multi-draw deletes write the draws that remain to the
// backup file lsbf.txt and rebuild the table from it, deriving every row anew
// under the current settings. Each command is one transaction and ends with
// a compaction of the file.
#ifndef ZEPHYRSTAT_STORE_DELETION_H_
#define ZEPHYRSTAT_STORE_DELETION_H_

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "core/draw.h"
#include "store/history_store.h"

namespace zs {

inline constexpr const char* kBackupFileName = "lsbf.txt";

using RowDeriver = std::function<HistoryRow(const Draw&)>;

// One backup line: the stored issue's digits, a blank, then the eight numbers
// as two digits each followed by a blank (no line end).
std::string BackupLine(const Draw& draw, bool threeDigit);

// "删除最后历史": deletes the newest draw; false when the history is empty.
bool DeleteLastDraw(HistoryStore& store);

// "删除最后指定数量期历史": keeps every draw but the newest `count`. A count
// of 0 or less deletes nothing and leaves lsbf.txt untouched. Returns the
// number of draws deleted.
int64_t DeleteLastDraws(HistoryStore& store, int64_t count, const std::filesystem::path& folder,
                        bool threeDigit, const RowDeriver& derive);

// "删除到选定期": keeps every draw whose issue is not above `lastKept`. A
// value of 0 or less deletes nothing and leaves lsbf.txt untouched. Returns
// the number of draws deleted.
int64_t DeleteDrawsAfter(HistoryStore& store, int32_t lastKept, const std::filesystem::path& folder,
                         bool threeDigit, const RowDeriver& derive);

// Replaces the history with the draws of `folder`/lsbf.txt.
void RebuildFromBackup(HistoryStore& store, const std::filesystem::path& folder,
                       const RowDeriver& derive);

}  // namespace zs

#endif  // ZEPHYRSTAT_STORE_DELETION_H_
