// Where the history database and the files the program writes live, and
// what an installed program ships beside itself.
//
// An installed program sits in PREFIX/bin with its shared files in
// PREFIX/share/zephyrstat; it keeps its data in the per-user data folder
// (~/.local/share/Zephyrstat). A program run from its build folder keeps its
// data beside itself when that folder is writable, else in the per-user
// data folder too.
#ifndef ZEPHYRSTAT_FRONTEND_DATA_FOLDER_H_
#define ZEPHYRSTAT_FRONTEND_DATA_FOLDER_H_

#include <filesystem>

namespace zs {

// Precondition: a QCoreApplication exists. Creates the folder when needed.
std::filesystem::path DataFolder();

// The sample history text an installed program ships
// (PREFIX/share/zephyrstat/历史号码/, the first .txt by name); empty when
// the program is not installed or the sample is missing.
// Precondition: a QCoreApplication exists.
std::filesystem::path InstalledSampleHistory();

}  // namespace zs

#endif  // ZEPHYRSTAT_FRONTEND_DATA_FOLDER_H_
