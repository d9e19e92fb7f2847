#include "store/deletion.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <vector>

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

// Keeps the first `keep` draws through lsbf.txt and the rebuild. Returns the
// number of draws the history lost.
int64_t KeepFirst(HistoryStore& store, std::vector<Draw> draws, size_t keep,
                  const std::filesystem::path& folder, bool threeDigit, const RowDeriver& derive) {
  const auto before = static_cast<int64_t>(draws.size());
  draws.resize(keep);
  WriteBackup(folder, draws, threeDigit);
  RebuildFromBackup(store, folder, derive);
  const int64_t deleted = before - store.Count();
  store.Compact();
  return deleted;
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

bool DeleteLastDraw(HistoryStore& store) {
  if (!store.DeleteLast()) return false;
  store.Compact();
  return true;
}

int64_t DeleteLastDraws(HistoryStore& store, int64_t count, const std::filesystem::path& folder,
                        bool threeDigit, const RowDeriver& derive) {
  if (count <= 0) return 0;
  std::vector<Draw> draws = store.LoadDraws();
  if (draws.empty()) return 0;
  const size_t keep =
      count >= static_cast<int64_t>(draws.size()) ? 0 : draws.size() - static_cast<size_t>(count);
  return KeepFirst(store, std::move(draws), keep, folder, threeDigit, derive);
}

int64_t DeleteDrawsAfter(HistoryStore& store, int32_t lastKept, const std::filesystem::path& folder,
                         bool threeDigit, const RowDeriver& derive) {
  if (lastKept <= 0) return 0;
  std::vector<Draw> draws = store.LoadDraws();
  // Draws come in issue order: every draw up to the first one above
  // `lastKept` stays, whether or not `lastKept` itself is stored.
  const auto firstDeleted = std::find_if(draws.begin(), draws.end(),
                                         [&](const Draw& draw) { return draw.issue > lastKept; });
  if (firstDeleted == draws.end()) return 0;
  const auto keep = static_cast<size_t>(std::distance(draws.begin(), firstDeleted));
  return KeepFirst(store, std::move(draws), keep, folder, threeDigit, derive);
}

void RebuildFromBackup(HistoryStore& store, const std::filesystem::path& folder,
                       const RowDeriver& derive) {
  const std::string bytes = ReadFileWhole(folder / kBackupFileName);

  const DrawReadout readout = ReadDraws(DecodeText(bytes), LineLayout::kBackupFile, 0, Numbers{});
  store.ReplaceAllDraws(readout.draws, derive);
}

}  // namespace zs
