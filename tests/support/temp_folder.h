// A fresh, empty folder for one test, removed with everything in it when the
// object goes. Each folder has a unique name, so tests may run in parallel.
// Entries() lists what the folder holds, to check that a write left no stray
// temporary behind.
#ifndef ZEPHYRSTAT_TESTS_SUPPORT_TEMP_FOLDER_H_
#define ZEPHYRSTAT_TESTS_SUPPORT_TEMP_FOLDER_H_

#include <filesystem>
#include <set>
#include <string>

namespace zs::testing {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
  // Names of every entry, hidden ones included.
  std::set<std::string> Entries() const;

 private:
  std::filesystem::path path_;
};

}  // namespace zs::testing

#endif  // ZEPHYRSTAT_TESTS_SUPPORT_TEMP_FOLDER_H_
