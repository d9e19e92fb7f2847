// The history database of a data folder, one SQLite file "tessera.mdb":
// the rows of the table Lishi (one per draw, in SQQH order) as the program
// reads and writes them, and the discipline of its writers: one program at
// a time changes the file (the folder's writer lock), every change is one
// transaction, so a change is there completely or not at all, also when the
// process dies half-way. Rows are always numbered idx = 1..N in SQQH order
// after a change. The schema is store/schema.h's, the compaction
// store/compaction.h's.
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
// another shared by every open store (store/compaction.h).
inline constexpr const char* kLockFileName = "tessera.lock";

// The bases the stored rows were derived with, as recorded beside them.
struct RecordedBases {
  int zodiacBase = 1;
  int segmentBase = 1;
  friend bool operator==(const RecordedBases&, const RecordedBases&) = default;
};

// The draws' stored fields with the bases they were derived under, read as
// one committed state of the file, so names shown for the fields (zodiac,
// segment) follow the same bases even while another program changes them.
struct DerivedHistory {
  PackedHistory draws;
  // nullopt for a file written before the bases were recorded: its rows are
  // taken as derived under the settings' bases.
  std::optional<RecordedBases> bases;
};

class HistoryStore {
 public:
  // The folder's writer lock, so one program at a time changes the history
  // or YL; held by a WriterLock. lock() waits a few seconds for another
  // writer, then throws HistoryBusyError; in a folder opened for reading
  // only it throws StoreError naming the folder at once. Locks nest within
  // one store.
  class Writer {
   public:
    // `readOnlyFolder`: the folder of a store that may not write; empty
    // when it may.
    explicit Writer(platform::LockFile* locks, std::filesystem::path readOnlyFolder = {})
        : locks_(locks), readOnlyFolder_(std::move(readOnlyFolder)) {}
    void lock();
    void unlock();

   private:
    platform::LockFile* locks_;  // none for a memory store
    std::filesystem::path readOnlyFolder_;
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
    // Declared first, so it ends last: runs the store's after-change hook
    // once the writer lock is released.
    struct Ended {
      HistoryStore& store;
      bool outermost = false;
      ~Ended();
    } ended_;
    WriterLock lock_;
    std::optional<Transaction> transaction_;  // none when joining another change
  };

  enum class Access { kReadWrite, kReadOnly };

  // Opens `folder`/tessera.mdb, creating it with the schema when absent.
  // Throws StoreError when the file exists but is not a history database,
  // HistoryBusyError when another program keeps it locked. A folder or file
  // this program may not write (or kReadOnly) opens for reading only: every
  // read works, every change throws StoreError naming the folder, and the
  // folder is left as it is (no lock file is made).
  // The store should then FollowBases() before anything reads the rows.
  static std::unique_ptr<HistoryStore> OpenFolder(const std::filesystem::path& folder,
                                                  Access access = Access::kReadWrite);
  static std::unique_ptr<HistoryStore> OpenMemory();

  Database& db() { return db_; }
  Writer& writer() { return writer_; }
  // Empty for an in-memory store.
  const std::filesystem::path& folder() const { return folder_; }
  // Whether the store was opened for reading only.
  bool ReadOnly() const { return readOnly_; }

  // Runs `hook` after every outermost change of this store has ended and
  // released the writer lock; it must not throw. For tests that put another
  // program's change exactly between two changes of this one.
  void SetAfterChangeHook(std::function<void()> hook) { afterChange_ = std::move(hook); }

  int64_t Count();
  // Calls `visit` with every row in SQQH order, without texts, one row at a
  // time, so a reader of a long history never holds all of its rows. The row
  // is valid only during the call.
  void ForEachRow(const std::function<void(const HistoryRow&)>& visit);
  // Issue and fields of every row in SQQH order, read from the compact copy
  // DrawPack; when that is missing it is made from Lishi and stored if the
  // database can be written.
  PackedHistory LoadPacked();
  // The same with the bases the fields were derived under, read in one read
  // transaction with them.
  DerivedHistory LoadDerived();
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
  // a change to the file, and when the store opens the file anew (after a
  // compaction); this store's own commits leave it as it is.
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
  // Deletes the `count` rows with the highest SQQH (the later stored first
  // among equal issues); returns how many it deleted. The rows left keep
  // their fields and their idx, which stays 1..N: every row numbered after
  // them is gone.
  int64_t DeleteNewest(int64_t count);
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
  // Returns whether it re-derived. A store that may not write now (read
  // only, or another writer keeps the history busy) leaves the rows as they
  // are; readers then follow the recorded bases (LoadDerived).
  bool FollowBases(const DerivationRules& rules);
  // The issue rule that wrote QQH of every row, recorded beside the bases by
  // a change that derives all rows (ReplaceAllDraws, Rederive); nullopt when
  // unknown: none recorded since the last RecordBases (as in a file of an
  // earlier version), or rows appended since under another rule.
  std::optional<IssueRule> NextIssueRule();

  // Compacts the file by way of tesseraTmp.mdb beside it, under the writer
  // lock (store/compaction.h). Throws StoreError, leaving the history file
  // as it was, when it fails or when another store has the file open. No-op
  // for a memory store.
  void Compact();
  // Compact() when at least a quarter of the file's pages are free, so a
  // delete of a few draws costs no copy of the whole file; returns whether
  // it compacted. Throws as Compact() does.
  bool CompactWhenSparse();
  // Removes the hidden copies of tessera.mdb that a program killed during a
  // compaction left beside it. Only a compaction makes them, and it holds
  // the writer lock until its copy has taken the file's place: whoever holds
  // the writer lock sees only a dead program's. Precondition: the writer
  // lock is held. Called by every change (Change) and every compaction.
  void RemoveLeftoverCopies();

 private:
  HistoryStore(Database db, std::filesystem::path folder, std::unique_ptr<platform::LockFile> locks,
               bool readOnly, bool packReadable);
  void RecordBases(const DerivationRules& rules);
  // Precondition: the bases are recorded.
  void RecordNextIssueRule(const IssueRule& rule);
  void ForgetNextIssueRuleUnless(const IssueRule& rule);

  Database db_;
  std::filesystem::path folder_;
  // None for a memory store, and for a read-only folder without one.
  std::unique_ptr<platform::LockFile> locks_;
  int64_t reopenings_ = 0;  // of the connection, by Compact
  bool readOnly_ = false;
  // False when a read-only file lacks DrawPack's triggers: its copy may be
  // stale, so readers read Lishi.
  bool packReadable_ = true;
  Writer writer_;
  std::function<void()> afterChange_;
};

}  // namespace zs

#endif  // ZEPHYRSTAT_STORE_HISTORY_STORE_H_
