// The text import ("读取历史号文本"): replaces the stored history with the
// draws of a history text file. The whole file is read and parsed before the
// history is touched; the replacement is one transaction.
#ifndef ZEPHYRSTAT_ACQUIRE_TEXT_IMPORT_H_
#define ZEPHYRSTAT_ACQUIRE_TEXT_IMPORT_H_

#include <cstdint>
#include <filesystem>

#include "core/derivation.h"
#include "store/history_store.h"

namespace zs {

struct ImportReport {
  int64_t stored = 0;     // draws stored
  int64_t inherited = 0;  // stored draws that inherited numbers from the draw before
  int64_t skipped = 0;    // lines that yielded no draw
};

// Throws StoreError when the file cannot be read (history unchanged) and
// InputError when it yields no draw (history unchanged).
ImportReport ImportHistoryFile(HistoryStore& store, const std::filesystem::path& file,
                               const DerivationRules& rules);

}  // namespace zs

#endif  // ZEPHYRSTAT_ACQUIRE_TEXT_IMPORT_H_
