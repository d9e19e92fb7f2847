#include "acquire/text_import.h"

#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "core/errors.h"
#include "core/history_text.h"

namespace zs {

namespace {

constexpr uint64_t kBytesPerMegabyte = 1024 * 1024;

std::string TooLargeMessage(const std::filesystem::path& file) {
  return "历史号码文件超过 " + std::to_string(kMaxImportBytes / kBytesPerMegabyte) +
         " MB，不是一份历史号码，未读入；历史号码未改变: " + file.string();
}

// The file's bytes, refused before reading when it is no regular file (a
// folder, a device, a pipe) or larger than kMaxImportBytes.
std::string ReadImportFile(const std::filesystem::path& file) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(file, error);
  if (error || !std::filesystem::exists(status)) {
    throw StoreError("无法打开历史号码文件，历史号码未改变: " + file.string());
  }
  if (!std::filesystem::is_regular_file(status)) {
    throw StoreError("不是普通文件（文件夹、设备或管道），未读入；历史号码未改变: " +
                     file.string());
  }
  const uintmax_t size = std::filesystem::file_size(file, error);
  if (error) throw StoreError("无法读取历史号码文件，历史号码未改变: " + file.string());
  if (size > kMaxImportBytes) throw InputError(TooLargeMessage(file));

  std::ifstream in(file, std::ios::binary);
  if (!in) throw StoreError("无法打开历史号码文件，历史号码未改变: " + file.string());
  // One byte more than the size tells a file that grew meanwhile.
  std::string bytes(size_t(size) + 1, '\0');
  in.read(bytes.data(), std::streamsize(bytes.size()));
  if (in.bad()) throw StoreError("无法读取历史号码文件，历史号码未改变: " + file.string());
  bytes.resize(size_t(in.gcount()));
  if (bytes.size() > size) {
    throw StoreError("历史号码文件在读入时被改动，未读入；历史号码未改变: " + file.string());
  }
  return bytes;
}

}  // namespace

ImportReport ImportHistoryFile(HistoryStore& store, const std::filesystem::path& file,
                               const DerivationRules& rules) {
  DrawReadout readout;
  {
    // Lines without their own issue count on from the issue after the last
    // stored draw; a short first line inherits from the draw before it.
    const std::optional<HistoryRow> last = store.Last();
    const int32_t runningIssue = last ? last->nextIssue : 0;
    Numbers inherited{};
    if (store.Count() > 1) inherited = store.NextToLast()->numbers();

    // The bytes go before the history is written.
    const std::string bytes = ReadImportFile(file);
    readout = ReadDrawsFromBytes(bytes, LineLayout::kHistoryFile, runningIssue, inherited,
                                 kMaxImportDraws);
  }
  if (readout.draws.empty()) {
    throw InputError("文件中没有可读入的历史号码，历史未改变: " + file.string());
  }

  const auto stored = static_cast<int64_t>(readout.draws.size());
  store.ReplaceAllDraws(readout.draws,
                        [&rules](const Draw& draw) { return DeriveRow(draw, rules); });
  return ImportReport{stored, readout.inherited, readout.skipped};
}

}  // namespace zs
