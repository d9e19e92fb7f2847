// A fresh, empty folder per test under the test temp folder, removed with
// everything in it when the test ends, and the names of the files it holds
// (to check that a write left no stray temporary behind).
#ifndef ZEPHYRSTAT_TESTS_SUPPORT_SCRATCH_FOLDER_H_
#define ZEPHYRSTAT_TESTS_SUPPORT_SCRATCH_FOLDER_H_

#include <filesystem>
#include <set>
#include <string>

namespace zs::testing {

class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
  // Names of every entry, hidden ones included.
  std::set<std::string> Entries() const;

 private:
  std::filesystem::path path_;
};

}  // namespace zs::testing

#endif  // ZEPHYRSTAT_TESTS_SUPPORT_SCRATCH_FOLDER_H_
