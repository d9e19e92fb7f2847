#include "tests/support/scratch_folder.h"

#include <gtest/gtest.h>
#include <unistd.h>

namespace zs::testing {

ScratchFolder::ScratchFolder() {
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = "zs-" + std::to_string(getpid());
  if (test != nullptr) name += std::string("-") + test->test_suite_name() + "-" + test->name();
  for (char& c : name) {
    if (c == '/') c = '_';
  }
  path_ = std::filesystem::path(::testing::TempDir()) / name;
  std::filesystem::remove_all(path_);
  std::filesystem::create_directories(path_);
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  // A test may have made the folder read-only.
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(path_, ignored);
}

std::set<std::string> ScratchFolder::Entries() const {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(path_)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

}  // namespace zs::testing
