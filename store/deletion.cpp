#include "store/deletion.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "core/errors.h"
#include "core/history_text.h"
#include "core/issue_number.h"

namespace zs {

namespace {

[[noreturn]] void FailFile(std::string_view what, const std::filesystem::path& file, int error) {
  throw StoreError(std::string(what) + " " + file.string() + "：" + std::strerror(error));
}

// Writes the backup under a temporary name first and renames it into place,
// so lsbf.txt is never a half-written list of draws.
void WriteBackup(const std::filesystem::path& folder, const std::vector<Draw>& draws,
                 bool threeDigit) {
  std::string content;
  content.reserve(draws.size() * 36);
  for (const Draw& draw : draws) {
    content += BackupLine(draw, threeDigit);
    content += "\r\n";
  }
  const std::filesystem::path file = folder / kBackupFileName;
  const std::filesystem::path incoming = folder / (std::string(kBackupFileName) + ".new");
  std::FILE* out = std::fopen(incoming.c_str(), "wb");
  if (out == nullptr) FailFile("无法创建", incoming, errno);
  const bool written = std::fwrite(content.data(), 1, content.size(), out) == content.size();
  const int writeError = errno;
  if (std::fclose(out) != 0 || !written) {
    const int error = written ? errno : writeError;
    std::filesystem::remove(incoming);
    FailFile("无法写入", incoming, error);
  }
  if (std::rename(incoming.c_str(), file.c_str()) != 0) {
    const int error = errno;
    std::filesystem::remove(incoming);
    FailFile("无法替换", file, error);
  }
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
  const HistoryStore::WriterLock writer(store);
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
  const HistoryStore::WriterLock writer(store);
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
  const std::filesystem::path file = folder / kBackupFileName;
  std::ifstream in(file, std::ios::binary);
  if (!in) FailFile("无法读取", file, errno);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) FailFile("无法读取", file, errno);

  const DrawReadout readout = ReadDraws(DecodeText(bytes), LineLayout::kBackupFile, 0, Numbers{});
  store.ReplaceAllDraws(readout.draws, rules);
}

}  // namespace zs
