#include "tests/support/temp_folder.h"

#include <stdlib.h>

#include <cerrno>
#include <string>
#include <system_error>

namespace zs::testing {

TempFolder::TempFolder() {
  std::string name = (std::filesystem::temp_directory_path() / "zephyrstat-XXXXXX").string();
  if (mkdtemp(name.data()) == nullptr) {
    throw std::system_error(errno, std::generic_category(), "cannot create " + name);
  }
  path_ = name;
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  // A test may have taken away the write permission to provoke a failure.
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(path_, ignored);
}

std::set<std::string> TempFolder::Entries() const {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(path_)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

}  // namespace zs::testing
