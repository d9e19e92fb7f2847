#include "acquire/text_import.h"

#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "core/errors.h"
#include "core/file_io.h"
#include "core/history_text.h"

namespace zs {

ImportReport ImportHistoryFile(HistoryStore& store, const std::filesystem::path& file,
                               const DerivationRules& rules) {
  // A path that cannot be looked at (a link loop, no permission) is left to
  // the reading below, which says why in the user's words.
  std::error_code unreadable;
  if (std::filesystem::is_directory(file, unreadable)) {
    throw StoreError("不是历史号码文件: " + file.string());
  }
  // The stored history the file continues is read inside the change that
  // replaces it.
  HistoryStore::Change change(store);
  DrawReadout readout;
  {
    // Lines without their own issue count on from the issue after the last
    // stored draw; a short first line inherits from the draw before it.
    const std::optional<HistoryRow> last = store.Last();
    const int32_t runningIssue = last ? last->nextIssue : 0;
    Numbers inherited{};
    if (store.Count() > 1) inherited = store.NextToLast()->numbers();

    // The bytes are let go before the history is written.
    const std::optional<std::string> bytes = ReadRegularFileAtMost(file, kMaxImportBytes);
    if (!bytes) {
      throw InputError("历史号码文件超过 " + std::to_string(kMaxImportBytes / (1024 * 1024)) +
                       " MB，不是一份历史号码，未读入；历史号码未改变: " + file.string());
    }
    readout = ReadDrawsFromBytes(*bytes, LineLayout::kHistoryFile, runningIssue, inherited,
                                 kMaxImportDraws);
  }
  if (readout.draws.empty()) {
    throw InputError("文件中没有可读入的历史号码，历史未改变: " + file.string());
  }

  const auto stored = static_cast<int64_t>(readout.draws.size());
  store.ReplaceAllDraws(readout.draws, rules);
  change.Commit();
  return ImportReport{stored, readout.inherited, readout.skipped};
}

}  // namespace zs
