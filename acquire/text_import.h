// The text import ("读取历史号文本"): replaces the stored history with the
// draws of a history text file. The whole file is read and parsed before the
// history is touched; the replacement is one transaction.
#ifndef ZEPHYRSTAT_ACQUIRE_TEXT_IMPORT_H_
#define ZEPHYRSTAT_ACQUIRE_TEXT_IMPORT_H_

#include <cstddef>
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

// Larger files are refused before reading: no history comes near it.
inline constexpr uint64_t kMaxImportBytes = 64 * 1024 * 1024;
// More draws than 84 years at 97 a day: refused while reading. Together the
// two limits keep an import under 300 MB of memory.
inline constexpr size_t kMaxImportDraws = 3'000'000;

// Throws StoreError when the file is no regular file or cannot be read, and
// InputError when it is larger than kMaxImportBytes, holds more than
// kMaxImportDraws draws or yields no draw; the history is then unchanged.
ImportReport ImportHistoryFile(HistoryStore& store, const std::filesystem::path& file,
                               const DerivationRules& rules);

}  // namespace zs

#endif  // ZEPHYRSTAT_ACQUIRE_TEXT_IMPORT_H_
