// The history database: the table Lishi (one row per draw, index SQQH) and
// the omission table YL, in one SQLite file "tessera.mdb".
//
// Every method that changes the history runs in one transaction, so a change
// is there completely or not at all, also when the process dies half-way.
// Rows are always numbered idx = 1..N in SQQH order after a change.
#ifndef ZEPHYRSTAT_STORE_HISTORY_STORE_H_
#define ZEPHYRSTAT_STORE_HISTORY_STORE_H_

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "core/derivation.h"
#include "core/draw.h"
#include "core/platform.h"
#include "store/database.h"
#include "store/draw_pack.h"

namespace zs {

inline constexpr const char* kHistoryFileName = "tessera.mdb";
inline constexpr const char* kCompactFileName = "tesseraTmp.mdb";
// Locked by every store on the folder: one slot while a writer is at work,
// another shared by every open store, so a compaction knows whether it is
// the only one that has the history file open.
inline constexpr const char* kLockFileName = "tessera.lock";

// What a writer that finds the history busy is told, after a short wait.
inline constexpr const char* kHistoryBusyMessage = "历史号码正由另一个程序修改，请稍后再试";

// The bases the stored rows were derived with, as recorded beside them.
struct RecordedBases {
  int sxIni = 1;
  int dsIni = 1;
  friend bool operator==(const RecordedBases&, const RecordedBases&) = default;
};

// Creates the tables Lishi (every field, work columns intTh, bolOk and
// txtHisP6 included), YL and the index SQQH when the database has none of
// them; throws StoreError when it holds other tables (besides the record of
// the derivation bases, the compact copy and the watch list) or a Lishi of
// another shape, so a foreign file is
// never changed.
void EnsureSchema(Database& db);

class HistoryStore {
 public:
  // The folder's writer lock, so one program at a time changes the history
  // or YL; held by a WriterLock. lock() waits a few seconds for another
  // writer, then throws StoreError(kHistoryBusyMessage). Locks nest within
  // one store.
  class Writer {
   public:
    explicit Writer(platform::LockFile* locks) : locks_(locks) {}
    void lock();
    void unlock();

   private:
    platform::LockFile* locks_;  // none for a memory store
    int holds_ = 0;
  };
  using WriterLock = std::lock_guard<Writer>;

  // One change of the history or YL: the writer lock and one transaction.
  // A change begun inside another joins its transaction, and only the
  // outermost commits; an outermost change ended without Commit() (by an
  // exception) rolls back all of it.
  class Change {
   public:
    explicit Change(HistoryStore& store);
    void Commit();

   private:
    WriterLock lock_;
    std::optional<Transaction> transaction_;  // none when joining another change
  };

  // Opens `folder`/tessera.mdb, creating it with the schema when absent.
  // Throws StoreError when the file exists but is not a history database.
  // The store should then FollowBases() before anything reads the rows.
  static std::unique_ptr<HistoryStore> OpenFolder(const std::filesystem::path& folder);
  static std::unique_ptr<HistoryStore> OpenMemory();

  Database& db() { return db_; }
  Writer& writer() { return writer_; }
  // Empty for an in-memory store.
  const std::filesystem::path& folder() const { return folder_; }

  int64_t Count();
  // Calls `visit` with every row in SQQH order, without texts, one row at a
  // time, so a reader of a long history never holds all of its rows. The row
  // is valid only during the call.
  void ForEachRow(const std::function<void(const HistoryRow&)>& visit);
  // Issue and fields of every row in SQQH order, read from the compact copy
  // DrawPack; when that is missing it is made from Lishi and stored if the
  // database can be written.
  PackedHistory LoadPacked();
  // Issue and numbers of every row, in SQQH order.
  std::vector<Draw> LoadDraws();
  std::optional<HistoryRow> First();
  std::optional<HistoryRow> Last();
  // The row before the last one (what a short first import line inherits).
  std::optional<HistoryRow> NextToLast();
  // Number of stored draws whose issue is below `issue`.
  int64_t CountBelow(int32_t issue);
  // The rows (without texts) whose issue is above `issue`, in SQQH order.
  std::vector<HistoryRow> RowsAbove(int32_t issue);
  // Moves whenever another connection, of this program or another, commits
  // a change to the file; this store's own commits leave it as it is.
  int64_t DataVersion();

  // Deletes every row and stores the rows derived from `draws` (any order;
  // equal issues keep theirs) under `rules`, numbering idx and recording the
  // bases. They are derived a slice at a time, so a long history never has
  // all of its texts in memory.
  void ReplaceAllDraws(const std::vector<Draw>& draws, const DerivationRules& rules);
  // Stores the rows derived from `draws` beside the history (after deleting
  // it all first when `dropFirst`), numbering idx. They are derived with the
  // issue rule of `rules` and the bases recorded with the stored rows (those
  // of `rules` when none are recorded), so the history keeps one set of
  // bases even when another program changed them since `rules` was read.
  void AppendDraws(const std::vector<Draw>& draws, const DerivationRules& rules,
                   bool dropFirst = false);
  // Deletes the row with the highest SQQH; false when the history is empty.
  bool DeleteLast();
  void Clear();
  // Derives every row anew from its draw under `rules` (a new zodiac or
  // segment base) and records the bases. idx, SQQH and the numbers stay.
  void Rederive(const DerivationRules& rules);

  // The bases recorded with the rows; nullopt for a file written before they
  // were recorded.
  std::optional<RecordedBases> Bases();
  // Makes the rows follow the bases of `rules`: re-derives them when the
  // recorded bases differ (a base change that a crash cut short), records
  // the bases when none are (an older file, taken as derived under them).
  // Returns whether it re-derived.
  bool FollowBases(const DerivationRules& rules);

  // Compacts the file into tesseraTmp.mdb beside it, then puts a copy in the
  // place of tessera.mdb by an atomic rename, so the folder always holds a
  // complete history file; tesseraTmp.mdb stays. Throws StoreError, leaving
  // the history file as it was, when it fails or when another store has the
  // file open (the rename would cut that one off from the history). No-op
  // for a memory store.
  void Compact();

 private:
  HistoryStore(Database db, std::filesystem::path folder,
               std::unique_ptr<platform::LockFile> locks);
  void RecordBases(const DerivationRules& rules);

  Database db_;
  std::filesystem::path folder_;
  std::unique_ptr<platform::LockFile> locks_;  // none for a memory store
  Writer writer_{locks_.get()};
};

}  // namespace zs

#endif  // ZEPHYRSTAT_STORE_HISTORY_STORE_H_
