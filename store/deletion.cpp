#include "store/deletion.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <vector>

#include "core/errors.h"
#include "core/file_io.h"
#include "core/history_text.h"
#include "core/issue_number.h"

namespace zs {

namespace {

// lsbf.txt is replaced whole and flushed to disk before the rebuild reads
// it, so it is never a half-written list of draws.
void WriteBackup(const std::filesystem::path& folder, const std::vector<Draw>& draws,
                 bool threeDigit) {
  std::string content;
  content.reserve(draws.size() * 36);
  for (const Draw& draw : draws) {
    content += BackupLine(draw, threeDigit);
    content += "\r\n";
  }
  WriteFileWhole(folder / kBackupFileName, content);
}

// Compacts after a committed delete; a failure only warns, since the
// deletion itself stands.
DeleteOutcome Compacted(HistoryStore& store, int64_t deleted) {
  DeleteOutcome outcome{deleted, std::nullopt};
  if (deleted == 0) return outcome;
  try {
    store.Compact();
  } catch (const StoreError& error) {
    outcome.compactionWarning = std::string("历史号码已删除并完整保存，但数据库文件暂未压缩（") +
                                error.what() + "）；下次压缩成功时一并完成";
  }
  return outcome;
}

// Keeps the draws that `keepCount` chooses among the stored ones (in issue
// order) through lsbf.txt and the rebuild, all inside one change, so a draw
// another program stores meanwhile is neither lost nor kept by mistake.
template <typename KeepCount>
DeleteOutcome KeepFirst(HistoryStore& store, const std::filesystem::path& folder,
                        const DerivationRules& rules, KeepCount keepCount) {
  const HistoryStore::WriterLock writer(store.writer());
  int64_t deleted = 0;
  {
    HistoryStore::Change change(store);
    std::vector<Draw> draws = store.LoadDraws();
    const size_t keep = keepCount(draws);
    if (keep == draws.size()) return {};
    const auto before = static_cast<int64_t>(draws.size());
    draws.resize(keep);
    WriteBackup(folder, draws, rules.issueRule.threeDigit);
    RebuildFromBackup(store, folder, rules);
    deleted = before - store.Count();
    change.Commit();
  }
  return Compacted(store, deleted);
}

}  // namespace

std::string BackupLine(const Draw& draw, bool threeDigit) {
  std::string line = StoredDigits(draw.issue, threeDigit);
  line += ' ';
  for (int number : draw.numbers) {
    char item[16];
    std::snprintf(item, sizeof item, "%02d ", number);
    line += item;
  }
  return line;
}

DeleteOutcome DeleteLastDraw(HistoryStore& store) {
  const HistoryStore::WriterLock writer(store.writer());
  return Compacted(store, store.DeleteLast() ? 1 : 0);
}

DeleteOutcome DeleteLastDraws(HistoryStore& store, int64_t count,
                              const std::filesystem::path& folder, const DerivationRules& rules) {
  if (count <= 0) return {};
  return KeepFirst(store, folder, rules, [count](const std::vector<Draw>& draws) {
    return count >= static_cast<int64_t>(draws.size()) ? 0
                                                       : draws.size() - static_cast<size_t>(count);
  });
}

DeleteOutcome DeleteDrawsAfter(HistoryStore& store, int32_t lastKept,
                               const std::filesystem::path& folder, const DerivationRules& rules) {
  if (lastKept <= 0) return {};
  return KeepFirst(store, folder, rules, [lastKept](const std::vector<Draw>& draws) {
    // Draws come in issue order: every draw up to the first one above
    // `lastKept` stays, whether or not `lastKept` itself is stored.
    const auto firstDeleted = std::find_if(draws.begin(), draws.end(),
                                           [&](const Draw& draw) { return draw.issue > lastKept; });
    return static_cast<size_t>(std::distance(draws.begin(), firstDeleted));
  });
}

void RebuildFromBackup(HistoryStore& store, const std::filesystem::path& folder,
                       const DerivationRules& rules) {
  const std::string bytes = ReadFileWhole(folder / kBackupFileName);

  const DrawReadout readout = ReadDraws(DecodeText(bytes), LineLayout::kBackupFile, 0, Numbers{});
  store.ReplaceAllDraws(readout.draws, rules);
}

}  // namespace zs
