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
#include <optional>
#include <vector>

#include "core/draw.h"
#include "store/database.h"
#include "store/draw_pack.h"

namespace zs {

inline constexpr const char* kHistoryFileName = "tessera.mdb";
inline constexpr const char* kCompactFileName = "tesseraTmp.mdb";

// Creates the tables Lishi (every field, work columns intTh, bolOk and
// txtHisP6 included), YL and the index SQQH when the database has none of
// them; throws StoreError when it holds other tables or a Lishi of another
// shape, so a foreign file is never changed.
void EnsureSchema(Database& db);

class HistoryStore {
 public:
  // Opens `folder`/tessera.mdb, creating it with the schema when absent.
  // Throws StoreError when the file exists but is not a history database.
  static std::unique_ptr<HistoryStore> OpenFolder(const std::filesystem::path& folder);
  static std::unique_ptr<HistoryStore> OpenMemory();

  Database& db() { return db_; }
  // Empty for an in-memory store.
  const std::filesystem::path& folder() const { return folder_; }

  int64_t Count();
  // Rows in SQQH order. Texts are loaded only when asked for.
  std::vector<HistoryRow> LoadAll(bool withTexts = false);
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

  // Deletes every row and stores `rows` (any order), numbering idx.
  void ReplaceAll(const std::vector<HistoryRow>& rows);
  // The same for the rows `derive` makes of `draws`. They are derived a slice
  // at a time, so a long history never has all of its texts in memory.
  void ReplaceAllDraws(const std::vector<Draw>& draws,
                       const std::function<HistoryRow(const Draw&)>& derive);
  // Stores `rows` beside the history (after deleting it all first when
  // `dropFirst`), numbering idx.
  void Append(const std::vector<HistoryRow>& rows, bool dropFirst = false);
  // Deletes the row with the highest SQQH; false when the history is empty.
  bool DeleteLast();
  void Clear();
  // Recomputes the stored fields and texts of every row from its draw (a new
  // zodiac or segment base, say). idx, SQQH and the numbers do not change.
  void RewriteRows(const std::function<HistoryRow(const Draw&)>& derive);

  // Compacts the file into tesseraTmp.mdb beside it, then puts a copy in the
  // place of tessera.mdb by an atomic rename, so the folder always holds a
  // complete history file; tesseraTmp.mdb stays. No-op for a memory store.
  void Compact();

 private:
  HistoryStore(Database db, std::filesystem::path folder);
  Database db_;
  std::filesystem::path folder_;
};

}  // namespace zs

#endif  // ZEPHYRSTAT_STORE_HISTORY_STORE_H_
