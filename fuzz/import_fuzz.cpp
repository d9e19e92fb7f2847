// The history text import, file to store: any file either replaces the
// history with exactly the draws it reports, or is refused and leaves the
// history as it was.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "acquire/text_import.h"
#include "core/errors.h"
#include "core/settings.h"
#include "fuzz/fuzz_check.h"

namespace {

std::filesystem::path ImportFile() {
  static const std::filesystem::path file = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "zs-fuzz-XXXXXX").string();
    const char* folder = mkdtemp(pattern.data());
    if (folder == nullptr) std::abort();
    return std::filesystem::path(folder) / "历史号码.txt";
  }();
  return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::ofstream(ImportFile(), std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), std::streamsize(size));

  const std::unique_ptr<zs::HistoryStore> store = zs::HistoryStore::OpenMemory();
  zs::Settings settings;
  settings.gsZl = 0;
  const zs::DerivationRules rules = zs::DerivationRules::From(settings);
  const std::vector<zs::Draw> before = {{14011683, {1, 2, 3, 4, 5, 6, 7, 8}},
                                        {14011684, {20, 19, 18, 17, 16, 15, 14, 13}}};
  store->ReplaceAllDraws(before, rules);
  try {
    const zs::ImportReport report = zs::ImportHistoryFile(*store, ImportFile(), rules);
    ZS_FUZZ_CHECK(report.stored > 0 && store->Count() == report.stored);
  } catch (const zs::InputError&) {
    ZS_FUZZ_CHECK(store->LoadDraws() == before);
  }
  return 0;
}
