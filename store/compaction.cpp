#include "store/compaction.h"

#include <chrono>
#include <string>
#include <string_view>
#include <system_error>

#include "core/errors.h"
#include "core/file_io.h"
#include "store/database.h"

namespace zs {

namespace {

// A journal beside the history file belongs to that very file: publishing
// another file under its name would let SQLite apply it to the wrong pages.
bool HasJournal(const std::filesystem::path& file) {
  std::error_code ignored;
  for (const char* suffix : {"-journal", "-wal"}) {
    if (std::filesystem::exists(file.string() + suffix, ignored)) return true;
  }
  return false;
}

int64_t PragmaValue(Database& db, const char* sql) {
  Statement statement = db.Prepare(sql);
  statement.Step();
  return statement.Int(0);
}

}  // namespace

void CompactHistoryFile(Database& connection, const std::filesystem::path& file,
                        const std::filesystem::path& compacted, platform::LockFile& locks,
                        const std::function<void()>& reopen) {
  std::error_code error;
  std::filesystem::remove(compacted, error);
  if (error) {
    throw StoreError("无法删除上次压缩留下的 " + compacted.string() + "：" + error.message());
  }
  Statement vacuum = connection.Prepare("VACUUM INTO ?1");
  vacuum.Bind(1, std::string_view(compacted.string()));
  vacuum.Run();

  // While this store holds the open slot alone, no other store can open the
  // file either.
  if (!locks.Lock(kOpenSlot, platform::LockFile::Mode::kExclusive, std::chrono::milliseconds(0))) {
    throw StoreError("另一个程序正打开着历史数据库");
  }
  struct SharedAgain {
    platform::LockFile& locks;
    ~SharedAgain() {
      locks.Lock(kOpenSlot, platform::LockFile::Mode::kShared, std::chrono::milliseconds(0));
    }
  } sharedAgain{locks};

  // From here on the history file is replaced only by a complete, flushed
  // copy; until the rename the old file stays as it is.
  connection = Database::OpenMemory();
  try {
    if (HasJournal(file)) throw StoreError("历史文件仍在使用中：" + file.string());
    ReplaceWithCopy(compacted, file);
  } catch (...) {
    reopen();
    throw;
  }
  reopen();
}

bool WorthCompacting(Database& db) {
  return PragmaValue(db, "PRAGMA freelist_count") * 4 >= PragmaValue(db, "PRAGMA page_count");
}

}  // namespace zs
