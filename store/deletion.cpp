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
  throw StoreError(std::string(what) + " " + file.string() + ": " + std::strerror(error));
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
  if (out == nullptr) FailFile("cannot create", incoming, errno);
  const bool written = std::fwrite(content.data(), 1, content.size(), out) == content.size();
  const int writeError = errno;
  if (std::fclose(out) != 0 || !written) {
    const int error = written ? errno : writeError;
    std::filesystem::remove(incoming);
    FailFile("cannot write", incoming, error);
  }
  if (std::rename(incoming.c_str(), file.c_str()) != 0) {
    const int error = errno;
    std::filesystem::remove(incoming);
    FailFile("cannot replace", file, error);
  }
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
  const std::filesystem::path file = folder / kBackupFileName;
  std::ifstream in(file, std::ios::binary);
  if (!in) FailFile("cannot read", file, errno);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) FailFile("cannot read", file, errno);

  const DrawReadout readout = ReadDraws(DecodeText(bytes), LineLayout::kBackupFile, 0, Numbers{});
  store.ReplaceAllDraws(readout.draws, derive);
}

}  // namespace zs
