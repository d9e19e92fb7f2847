// A fresh, empty folder for one test, removed with everything in it when the
// object goes. Each folder has a unique name, so tests may run in parallel.
#ifndef ZEPHYRSTAT_TESTS_SUPPORT_TEMP_FOLDER_H_
#define ZEPHYRSTAT_TESTS_SUPPORT_TEMP_FOLDER_H_

#include <filesystem>

namespace zs::testing {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace zs::testing

#endif  // ZEPHYRSTAT_TESTS_SUPPORT_TEMP_FOLDER_H_
