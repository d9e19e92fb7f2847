#include "acquire/text_import.h"

#include <string>
#include <vector>

#include "core/errors.h"
#include "core/file_io.h"
#include "core/history_text.h"

namespace zs {

ImportReport ImportHistoryFile(HistoryStore& store, const std::filesystem::path& file,
                               const DerivationRules& rules) {
  if (std::filesystem::is_directory(file)) {
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

    const std::u32string text = DecodeText(ReadFileWhole(file));
    readout = ReadDraws(text, LineLayout::kHistoryFile, runningIssue, inherited);
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
