// Compaction of the history file. Deletes leave free pages in tessera.mdb;
// compacting writes the history anew into a second file (VACUUM INTO), then
// puts a copy of that in the place of the history file by an atomic rename,
// so the folder always holds a complete history file. The second file stays.
//
// The rename cuts every other connection off from the history: it would go on
// reading and writing the old file, and its writes would be lost. So every
// store that has the file open holds the lock file's open slot shared, and a
// compaction publishes its copy only while it holds that slot alone.
#ifndef ZEPHYRSTAT_STORE_COMPACTION_H_
#define ZEPHYRSTAT_STORE_COMPACTION_H_

#include <filesystem>
#include <functional>

#include "core/platform.h"

namespace zs {

class Database;

// The slot of the folder's lock file that every open store holds shared.
inline constexpr int kOpenSlot = 1;

// Compacts `file`, which `connection` has open, by way of `compacted`
// (replacing what an earlier compaction left there). Once the copy is made
// the connection is closed while the copy takes the file's place; `reopen`
// then opens the file anew into `connection`: the compacted file, or the old
// one when publishing failed. Throws StoreError, leaving the history file as
// it was, when the copy fails, another store has the file open, or a journal
// lies beside the file (it belongs to the old pages).
// Preconditions: the caller holds the folder's writer lock, so nothing
// changes the file meanwhile, and the open slot of `locks` shared;
// `connection` is its only connection to the file.
void CompactHistoryFile(Database& connection, const std::filesystem::path& file,
                        const std::filesystem::path& compacted, platform::LockFile& locks,
                        const std::function<void()>& reopen);

// Whether at least a quarter of the pages of the file `db` has open are
// free, so a delete of a few draws costs no copy of the whole file.
bool WorthCompacting(Database& db);

}  // namespace zs

#endif  // ZEPHYRSTAT_STORE_COMPACTION_H_
