// Where the history database and the files the program writes live: the
// program's own folder when it is writable, else the per-user data folder.
#ifndef ZEPHYRSTAT_APP_COMMON_DATA_FOLDER_H_
#define ZEPHYRSTAT_APP_COMMON_DATA_FOLDER_H_

#include <filesystem>

namespace zs {

// Precondition: a QCoreApplication exists. Creates the folder when needed.
std::filesystem::path DataFolder();

}  // namespace zs

#endif  // ZEPHYRSTAT_APP_COMMON_DATA_FOLDER_H_
