#include "history/import.h"

#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "core/errors.h"
#include "core/file_io.h"

namespace zs {

ImportBasis ImportBasisOf(HistoryStore& store) {
  ImportBasis basis;
  const std::optional<HistoryRow> last = store.Last();
  if (last) basis.runningIssue = last->nextIssue;
  if (store.Count() > 1) basis.inherited = store.NextToLast()->numbers();
  return basis;
}

HistoryFileInspection InspectHistoryFile(const std::filesystem::path& file,
                                         const ImportBasis& basis) {
  // A path that cannot be looked at (a link loop, no permission) is left to
  // the reading below, which says why in the user's words.
  std::error_code unreadable;
  if (std::filesystem::is_directory(file, unreadable)) {
    throw StoreError("不是历史号码文件: " + file.string());
  }
  // The bytes are let go once parsed: only the draws are kept.
  const std::optional<std::string> bytes = ReadRegularFileAtMost(file, kMaxImportBytes);
  if (!bytes) {
    throw InputError("历史号码文件超过 " + std::to_string(kMaxImportBytes / (1024 * 1024)) +
                     " MB，不是一份历史号码，未读入；历史号码未改变: " + file.string());
  }
  return InspectHistoryText(*bytes, basis, file);
}

HistoryFileInspection InspectHistoryText(std::string_view bytes, const ImportBasis& basis,
                                         const std::filesystem::path& file) {
  return HistoryFileInspection{
      file, basis,
      ReadDrawsFromBytes(bytes, LineLayout::kHistoryFile, basis.runningIssue, basis.inherited,
                         kMaxImportDraws)};
}

std::string DescribeInspection(const HistoryFileInspection& inspection, int64_t storedDraws) {
  return "文件 " + inspection.file.string() + " 中有 " + std::to_string(inspection.draws()) +
         " 期历史号码，另有 " + std::to_string(inspection.unreadableLines()) +
         " 个非空行无法读取；现有历史号码 " + std::to_string(storedDraws) + " 期。";
}

ImportReport ImportInspectedFile(HistoryStore& store, const HistoryFileInspection& inspection,
                                 const DerivationRules& rules) {
  // The stored history the file continues is read inside the change that
  // replaces it.
  HistoryStore::Change change(store);
  const ImportBasis basis = ImportBasisOf(store);
  std::optional<HistoryFileInspection> reread;
  if (basis != inspection.basis) reread = InspectHistoryFile(inspection.file, basis);
  const DrawReadout& readout = reread ? reread->readout : inspection.readout;
  if (readout.draws.empty()) {
    throw InputError("文件中没有可读入的历史号码，历史未改变: " + inspection.file.string());
  }
  store.ReplaceAllDraws(readout.draws, rules);
  change.Commit();
  return ImportReport{static_cast<int64_t>(readout.draws.size()), readout.inherited,
                      readout.skipped};
}

ImportReport ImportHistoryFile(HistoryStore& store, const std::filesystem::path& file,
                               const DerivationRules& rules) {
  return ImportInspectedFile(store, InspectHistoryFile(file, ImportBasisOf(store)), rules);
}

}  // namespace zs
