// Writes the history grid to the text file "更新至<stored issue>期历史号码.txt"
// in the data folder: one line per history row, the shown issue, a blank,
// then the eight numbers as two digits each followed by a blank; CR LF line
// ends. The stored issue in the name is the newest one.
#ifndef ZEPHYRSTAT_EXPORT_TEXT_EXPORT_H_
#define ZEPHYRSTAT_EXPORT_TEXT_EXPORT_H_

#include <filesystem>
#include <string>

#include "core/grid_source.h"

namespace zs {

// The file name for the newest stored issue (digits as StoredDigits gives them).
std::string HistoryTextFileName(const std::string& newestStoredDigits);

// Precondition: `historyGrid` is the history grid (期号, 第1码 … 第8码).
// Writes the file and returns its path. Throws InputError when the history is
// empty (no file is written) and StoreError when the file cannot be written
// (no partial file is left).
std::filesystem::path WriteHistoryText(const GridSource& historyGrid,
                                       const std::string& newestStoredDigits,
                                       const std::filesystem::path& folder);

}  // namespace zs

#endif  // ZEPHYRSTAT_EXPORT_TEXT_EXPORT_H_
