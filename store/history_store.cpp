#include "store/history_store.h"

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <string_view>
#include <utility>

#include "core/errors.h"
#include "core/file_io.h"
#include "store/compaction.h"
#include "store/draw_pack.h"
#include "store/schema.h"

namespace zs {

namespace {

// Where the fields and texts stand among RowColumns().
constexpr int kFieldCount = kPositions * kSearchTypeCount;
constexpr int kFirstFieldColumn = 3;
constexpr int kFirstTextColumn = kFirstFieldColumn + kFieldCount;

std::string Join(const std::vector<std::string>& items, std::string_view separator) {
  std::string joined;
  for (const std::string& item : items) {
    if (!joined.empty()) joined += separator;
    joined += item;
  }
  return joined;
}

// The slot of the folder's lock file that a writer holds at work (the open
// slot is the compaction's).
constexpr int kWriterSlot = 0;

// How long a writer waits for another one. Changes from the entry boxes or
// the command line take milliseconds; a long import or rebuild of another
// program is refused rather than waited for.
constexpr std::chrono::milliseconds kWriterWait{5000};
// How long opening waits for another program's compaction to publish the
// compacted file (a copy of the whole file).
constexpr std::chrono::milliseconds kOpenWait{60000};

// One row read by a statement whose columns are RowColumns(withTexts).
HistoryRow ReadRow(const Statement& select, bool withTexts) {
  HistoryRow row;
  row.idx = static_cast<int32_t>(select.Int(0));
  row.issue = static_cast<int32_t>(select.Int(1));
  row.nextIssue = static_cast<int32_t>(select.Int(2));
  int column = kFirstFieldColumn;
  for (int position = 0; position < kPositions; ++position) {
    for (int type = 0; type < kSearchTypeCount; ++type) {
      row.fields[type][position] = static_cast<int>(select.Int(column++));
    }
  }
  if (withTexts) {
    for (int text = 0; text < kListTextCount; ++text) {
      row.texts[text] = std::string(select.Text(kFirstTextColumn + text));
    }
  }
  return row;
}

// Binds the fields and texts of `row` from parameter `first` on, in the
// order of RowColumns(true) without idx, SQQH and QQH. Returns the next
// parameter. The texts are not copied: `row` must outlive the statement run.
int BindDerived(Statement& statement, int first, const HistoryRow& row) {
  int parameter = first;
  for (int position = 0; position < kPositions; ++position) {
    for (int type = 0; type < kSearchTypeCount; ++type) {
      statement.Bind(parameter++, int64_t{row.fields[type][position]});
    }
  }
  for (const std::string& text : row.texts) statement.BindUncopied(parameter++, text);
  return parameter;
}

// Rows go in several at a time: one statement per batch saves most of
// SQLite's per-statement work, a good share of a bulk insert.
constexpr size_t kBatchRows = 16;

std::string InsertSql(size_t rowCount) {
  const std::vector<std::string> columns = RowColumns(true);
  std::string tuple = "(";
  tuple += Join(std::vector<std::string>(columns.size(), "?"), ", ");
  tuple += ")";
  return "INSERT INTO Lishi (" + Join(columns, ", ") + ") VALUES " +
         Join(std::vector<std::string>(rowCount, tuple), ", ");
}

// Inserts `rows` in their order. idx is their ordinal from `firstIdx` on, or
// 0 for every row when `firstIdx` is 0 (the caller renumbers).
void InsertRows(Database& db, const std::vector<const HistoryRow*>& rows, int64_t firstIdx) {
  const auto insert = [&](Statement& statement, size_t begin, size_t count) {
    int parameter = 1;
    for (size_t i = begin; i < begin + count; ++i) {
      const HistoryRow& row = *rows[i];
      statement.Bind(parameter, firstIdx == 0 ? 0 : firstIdx + static_cast<int64_t>(i))
          .Bind(parameter + 1, int64_t{row.issue})
          .Bind(parameter + 2, int64_t{row.nextIssue});
      parameter = BindDerived(statement, parameter + kFirstFieldColumn, row);
    }
    statement.Run();
  };
  size_t done = 0;
  if (rows.size() >= kBatchRows) {
    Statement batch = db.Prepare(InsertSql(kBatchRows));
    for (; rows.size() - done >= kBatchRows; done += kBatchRows) insert(batch, done, kBatchRows);
  }
  if (done < rows.size()) {
    Statement rest = db.Prepare(InsertSql(rows.size() - done));
    insert(rest, done, rows.size() - done);
  }
}

std::vector<const HistoryRow*> Pointers(const std::vector<HistoryRow>& rows) {
  std::vector<const HistoryRow*> pointers;
  pointers.reserve(rows.size());
  for (const HistoryRow& row : rows) pointers.push_back(&row);
  return pointers;
}

// Stores the rows derived from `draws`, which are in issue order, numbered
// from 1, deriving a slice at a time. Returns what was stored, packed.
PackedHistory InsertDerived(Database& db, const std::vector<Draw>& draws,
                            const DerivationRules& rules) {
  PackedHistory packed;
  packed.Reserve(draws.size());
  constexpr size_t kSliceRows = 4096;
  // The slice's rows are derived into again and again, so their texts are
  // allocated once.
  std::vector<HistoryRow> slice;
  for (size_t begin = 0; begin < draws.size(); begin += kSliceRows) {
    slice.resize(std::min(draws.size() - begin, kSliceRows));
    for (size_t i = 0; i < slice.size(); ++i) {
      DeriveRowInto(draws[begin + i], rules, slice[i]);
      packed.Add(slice[i].issue, slice[i].fields);
    }
    InsertRows(db, Pointers(slice), static_cast<int64_t>(begin) + 1);
  }
  return packed;
}

// Gives every row from issue `from` on its ordinal in SQQH order. The rows
// below `from` are numbered already, so a few draws appended after the last
// one renumber only themselves, not the whole history. Only rows whose idx
// changes are written.
// `below` rows sort before `from`; the caller knows how many (counting them
// with a bound on SQQH walks the whole index).
void RenumberIdxFrom(Database& db, int32_t from, int64_t below) {
  Statement renumber = db.Prepare(
      "UPDATE Lishi SET idx = ordered.n FROM (SELECT rowid AS id, ?2 + ROW_NUMBER() OVER (ORDER "
      "BY SQQH, rowid) AS n FROM Lishi WHERE SQQH >= ?1) AS ordered WHERE Lishi.rowid = "
      "ordered.id AND Lishi.idx IS NOT ordered.n");
  renumber.Bind(1, int64_t{from});
  renumber.Bind(2, below);
  renumber.Run();
}

std::string SelectRows(bool withTexts, std::string_view tail) {
  return "SELECT " + Join(RowColumns(withTexts), ", ") + " FROM Lishi " + std::string(tail);
}

std::optional<HistoryRow> OneRow(Database& db, std::string_view tail) {
  Statement select = db.Prepare(SelectRows(true, tail));
  if (!select.Step()) return std::nullopt;
  return ReadRow(select, true);
}

void Configure(Database& db) {
  // Rollback journal with full syncs: a committed change survives a crash,
  // an interrupted one is rolled back at the next open. The large page cache
  // keeps a whole-history replacement from spilling (and syncing) half-way.
  db.Execute(
      "PRAGMA journal_mode = DELETE; PRAGMA synchronous = FULL; PRAGMA cache_size = -65536;"
      "PRAGMA temp_store = MEMORY;");
}

// Limits the page cache of a connection to a few megabytes while it lives.
// A whole-table scan reads every page once, so a large cache would only hold
// tens of megabytes that nothing reads again; the configured size returns
// afterwards for the bulk writes it serves.
class SmallPageCache {
 public:
  explicit SmallPageCache(Database& db) : db_(db) {
    Statement size = db_.Prepare("PRAGMA cache_size");
    size.Step();
    configured_ = size.Int(0);
    db_.Execute("PRAGMA cache_size = -2048");
  }
  SmallPageCache(const SmallPageCache&) = delete;
  SmallPageCache& operator=(const SmallPageCache&) = delete;
  // Setting the cache size cannot fail once the connection is open, and a
  // destructor must not throw, so the result is not checked.
  ~SmallPageCache() {
    const std::string restore = "PRAGMA cache_size = " + std::to_string(configured_);
    sqlite3_exec(db_.handle(), restore.c_str(), nullptr, nullptr, nullptr);
  }

 private:
  Database& db_;
  int64_t configured_ = 0;
};

}  // namespace

void HistoryStore::Writer::lock() {
  if (!readOnlyFolder_.empty()) {
    throw StoreError("数据文件夹 " + readOnlyFolder_.string() +
                     " 不可写入：历史号码只能查看，不能修改");
  }
  if (holds_ == 0 && locks_ != nullptr &&
      !locks_->Lock(kWriterSlot, platform::LockFile::Mode::kExclusive, kWriterWait)) {
    throw HistoryBusyError();
  }
  ++holds_;
}

void HistoryStore::Writer::unlock() {
  if (--holds_ == 0 && locks_ != nullptr) locks_->Unlock(kWriterSlot);
}

HistoryStore::Change::Change(HistoryStore& store) : ended_{store}, lock_(store.writer_) {
  if (!store.db_.InTransaction()) {
    store.RemoveLeftoverCopies();
    transaction_.emplace(store.db_);
  }
  ended_.outermost = transaction_.has_value();
}

HistoryStore::Change::Ended::~Ended() {
  if (outermost && store.afterChange_) store.afterChange_();
}

void HistoryStore::Change::Commit() {
  if (transaction_) transaction_->Commit();
}

HistoryStore::HistoryStore(Database db, std::filesystem::path folder,
                           std::unique_ptr<platform::LockFile> locks, bool readOnly,
                           bool packReadable)
    : db_(std::move(db)),
      folder_(std::move(folder)),
      locks_(std::move(locks)),
      readOnly_(readOnly),
      packReadable_(packReadable),
      writer_(locks_.get(), readOnly ? folder_ : std::filesystem::path()) {}

std::unique_ptr<HistoryStore> HistoryStore::OpenFolder(const std::filesystem::path& folder,
                                                       Access access) {
  const std::filesystem::path file = folder / kHistoryFileName;
  const std::filesystem::path lockFile = folder / kLockFileName;
  // A change needs the folder (for SQLite's journal and the lock file) and
  // the file writable.
  std::error_code ignored;
  const bool readOnly = access == Access::kReadOnly || !platform::MayWrite(folder) ||
                        (std::filesystem::exists(file, ignored) && !platform::MayWrite(file));
  if (readOnly && !std::filesystem::exists(file, ignored)) {
    throw StoreError("数据文件夹 " + folder.string() +
                     (std::filesystem::is_directory(folder, ignored)
                          ? std::string(" 不可写入，其中也还没有 ") + kHistoryFileName
                          : std::string(" 不存在")));
  }
  // Marked open before the file is: a compaction under way ends before this
  // store reads the file, and a later one sees this store and leaves the
  // file in place. A read-only folder without a lock file has no writer to
  // wait for.
  std::unique_ptr<platform::LockFile> locks;
  if (!readOnly || std::filesystem::exists(lockFile, ignored)) {
    locks = std::make_unique<platform::LockFile>(
        lockFile,
        readOnly ? platform::LockFile::Access::kReadOnly : platform::LockFile::Access::kReadWrite);
    if (!locks->Lock(kOpenSlot, platform::LockFile::Mode::kShared, kOpenWait)) {
      throw StoreError("历史数据库正由另一个程序压缩，请稍后再试");
    }
  }
  Database db = readOnly ? Database::OpenFileForReading(file) : Database::OpenFile(file);
  bool packReadable = true;
  try {
    packReadable = EnsureSchema(db, !readOnly);
  } catch (const HistoryBusyError&) {
    throw;
  } catch (const StoreError& error) {
    throw StoreError(file.string() + "：" + error.what() + "；文件保持原样");
  }
  Configure(db);
  return std::unique_ptr<HistoryStore>(
      new HistoryStore(std::move(db), folder, std::move(locks), readOnly, packReadable));
}

std::unique_ptr<HistoryStore> HistoryStore::OpenMemory() {
  Database db = Database::OpenMemory();
  EnsureSchema(db);
  return std::unique_ptr<HistoryStore>(new HistoryStore(std::move(db), {}, nullptr, false, true));
}

int64_t HistoryStore::Count() {
  Statement count = db_.Prepare("SELECT count(*) FROM Lishi");
  count.Step();
  return count.Int(0);
}

void HistoryStore::ForEachRow(const std::function<void(const HistoryRow&)>& visit) {
  const SmallPageCache scan(db_);
  Statement select = db_.Prepare(SelectRows(false, "ORDER BY SQQH, rowid"));
  while (select.Step()) visit(ReadRow(select, false));
}

PackedHistory HistoryStore::LoadPacked() { return LoadDerived().draws; }

DerivedHistory HistoryStore::LoadDerived() {
  DerivedHistory derived;
  {
    // Another program's base change commits wholly before or after this
    // read, so the bases are those of the copy.
    const Transaction read(db_, Transaction::Kind::kRead);
    if (std::optional<PackedHistory> packed = packReadable_ ? ReadDrawPack(db_) : std::nullopt) {
      derived.draws = std::move(*packed);
      derived.bases = Bases();
      return derived;
    }
  }
  const auto scan = [&] {
    derived.bases = Bases();
    derived.draws = PackedHistory();
    derived.draws.Reserve(static_cast<size_t>(Count()));
    ForEachRow([&](const HistoryRow& row) { derived.draws.Add(row.issue, row.fields); });
  };
  // The copy is made from what this transaction reads, so no other writer
  // can slip a change in between. Without the write lock (another writer
  // holds it, or the file is read-only) the history is only read.
  try {
    Change change(*this);
    scan();
    DrawPackUpdate update(db_);
    update.RewriteAll(derived.draws);
    update.Finish();
    change.Commit();
  } catch (const StoreError&) {
    const Transaction read(db_, Transaction::Kind::kRead);
    scan();
  }
  return derived;
}

std::vector<Draw> HistoryStore::LoadDraws() {
  if (const std::optional<PackedHistory> packed =
          packReadable_ ? ReadDrawPack(db_) : std::nullopt) {
    std::vector<Draw> draws(packed->DrawCount());
    for (size_t i = 0; i < draws.size(); ++i) {
      draws[i].issue = packed->issues[i];
      for (int position = 0; position < kPositions; ++position) {
        draws[i].numbers[position] =
            packed->Field(i, static_cast<int>(SearchType::kNumber), position);
      }
    }
    return draws;
  }
  std::vector<Draw> draws;
  draws.reserve(static_cast<size_t>(Count()));
  Statement select = db_.Prepare(
      "SELECT SQQH, L1A, L2A, L3A, L4A, L5A, L6A, L7A, L8A FROM Lishi ORDER BY SQQH, rowid");
  while (select.Step()) {
    Draw& draw = draws.emplace_back();
    draw.issue = static_cast<int32_t>(select.Int(0));
    for (int position = 0; position < kPositions; ++position) {
      draw.numbers[position] = static_cast<int>(select.Int(1 + position));
    }
  }
  return draws;
}

std::optional<HistoryRow> HistoryStore::First() {
  return OneRow(db_, "ORDER BY SQQH, rowid LIMIT 1");
}

std::optional<HistoryRow> HistoryStore::Last() {
  return OneRow(db_, "ORDER BY SQQH DESC, rowid DESC LIMIT 1");
}

std::optional<HistoryRow> HistoryStore::NextToLast() {
  return OneRow(db_, "ORDER BY SQQH DESC, rowid DESC LIMIT 1 OFFSET 1");
}

int64_t HistoryStore::CountBelow(int32_t issue) {
  Statement count = db_.Prepare("SELECT count(*) FROM Lishi WHERE SQQH < ?1");
  count.Bind(1, int64_t{issue});
  count.Step();
  return count.Int(0);
}

std::vector<HistoryRow> HistoryStore::RowsAbove(int32_t issue) {
  Statement select = db_.Prepare(SelectRows(false, "WHERE SQQH > ?1 ORDER BY SQQH, rowid"));
  select.Bind(1, int64_t{issue});
  std::vector<HistoryRow> rows;
  while (select.Step()) rows.push_back(ReadRow(select, false));
  return rows;
}

int64_t HistoryStore::DataVersion() {
  Statement version = db_.Prepare("PRAGMA data_version");
  version.Step();
  // A new connection counts afresh, so its numbers never match the old one's.
  return version.Int(0) + (reopenings_ << 40);
}

void HistoryStore::ReplaceAllDraws(const std::vector<Draw>& draws, const DerivationRules& rules) {
  // Rows go in in SQQH order (stable, so equal issues keep their order),
  // which numbers idx directly, keeps every index insert at the end of the
  // index and lays the table out in reading order.
  const auto byIssue = [](const Draw& a, const Draw& b) { return a.issue < b.issue; };
  std::vector<Draw> sorted;
  if (!std::is_sorted(draws.begin(), draws.end(), byIssue)) {
    sorted = draws;
    std::stable_sort(sorted.begin(), sorted.end(), byIssue);
  }
  Change change(*this);
  // The large page cache saves journal syncs when the new rows take the
  // pages of the old ones; into an empty table they go to new pages, which
  // need no journal, so a small cache writes them out as they fill instead
  // of first faulting in tens of megabytes of fresh memory.
  std::optional<SmallPageCache> pagesToNewFile;
  if (Count() == 0) pagesToNewFile.emplace(db_);
  DrawPackUpdate pack(db_);
  db_.Execute("DELETE FROM Lishi");
  pack.RewriteAll(InsertDerived(db_, sorted.empty() ? draws : sorted, rules));
  pack.Finish();
  RecordBases(rules);
  RecordNextIssueRule(rules.issueRule);
  change.Commit();
}

void HistoryStore::AppendDraws(const std::vector<Draw>& draws, const DerivationRules& rules,
                               bool dropFirst) {
  Change change(*this);
  DerivationRules followed = rules;
  if (const std::optional<RecordedBases> recorded = Bases()) {
    followed.zodiacBase = recorded->zodiacBase;
    followed.segmentBase = recorded->segmentBase;
  } else {
    RecordBases(rules);
  }
  std::vector<HistoryRow> rows;
  rows.reserve(draws.size());
  for (const Draw& draw : draws) rows.push_back(DeriveRow(draw, followed));
  if (rows.empty() && !dropFirst) {
    change.Commit();
    return;
  }
  ForgetNextIssueRuleUnless(rules.issueRule);
  DrawPackUpdate pack(db_);
  if (dropFirst) db_.Execute("DELETE FROM Lishi");
  // Draws after the newest stored one (a typed draw, an update) follow all
  // the stored rows, so those are counted whole, which is quick.
  const std::optional<HistoryRow> newest = Last();
  const int64_t stored = Count();
  // The provisional idx 0 differs from every final number, so the
  // renumbering always writes the new rows.
  InsertRows(db_, Pointers(rows), 0);
  int64_t firstChanged = 0;
  if (!rows.empty()) {
    const auto lowest = std::min_element(
        rows.begin(), rows.end(),
        [](const HistoryRow& a, const HistoryRow& b) { return a.issue < b.issue; });
    const bool appended = !newest || lowest->issue > newest->issue;
    firstChanged = appended ? stored : CountBelow(lowest->issue);
    RenumberIdxFrom(db_, lowest->issue, firstChanged);
  }
  pack.RewriteFrom(firstChanged);
  pack.Finish();
  change.Commit();
}

bool HistoryStore::DeleteLast() { return DeleteNewest(1) == 1; }

int64_t HistoryStore::DeleteNewest(int64_t count) {
  if (count <= 0) return 0;
  Change change(*this);
  DrawPackUpdate pack(db_);
  Statement remove = db_.Prepare(
      "DELETE FROM Lishi WHERE rowid IN (SELECT rowid FROM Lishi ORDER BY SQQH DESC, rowid DESC "
      "LIMIT ?1)");
  remove.Bind(1, count);
  remove.Run();
  const int64_t deleted = db_.Changes();
  pack.RewriteFrom(Count());
  pack.Finish();
  change.Commit();
  return deleted;
}

void HistoryStore::Clear() {
  Change change(*this);
  DrawPackUpdate pack(db_);
  db_.Execute("DELETE FROM Lishi");
  pack.RewriteAll(PackedHistory());
  pack.Finish();
  change.Commit();
}

void HistoryStore::Rederive(const DerivationRules& rules) {
  Change change(*this);
  const std::vector<Draw> draws = LoadDraws();
  // Writing the table anew in issue order is much quicker than updating
  // every row in place.
  DrawPackUpdate pack(db_);
  db_.Execute("DELETE FROM Lishi");
  pack.RewriteAll(InsertDerived(db_, draws, rules));
  pack.Finish();
  RecordBases(rules);
  RecordNextIssueRule(rules.issueRule);
  change.Commit();
}

std::optional<RecordedBases> HistoryStore::Bases() {
  if (!HasBasesTable(db_)) return std::nullopt;
  Statement bases = db_.Prepare(std::string("SELECT SxIni, DsIni FROM ") + kBasesTable);
  if (!bases.Step()) return std::nullopt;
  return RecordedBases{static_cast<int>(bases.Int(0)), static_cast<int>(bases.Int(1))};
}

void HistoryStore::RecordBases(const DerivationRules& rules) {
  Change change(*this);
  EnsureBasesTable(db_);
  db_.Execute(std::string("DELETE FROM ") + kBasesTable);
  Statement insert =
      db_.Prepare(std::string("INSERT INTO ") + kBasesTable + " (SxIni, DsIni) VALUES (?1, ?2)");
  insert.Bind(1, int64_t{rules.zodiacBase}).Bind(2, int64_t{rules.segmentBase});
  insert.Run();
  change.Commit();
}

bool HistoryStore::FollowBases(const DerivationRules& rules) {
  const std::optional<RecordedBases> recorded = Bases();
  if (recorded == RecordedBases{rules.zodiacBase, rules.segmentBase} || readOnly_) return false;
  if (recorded) {
    try {
      Rederive(rules);
    } catch (const HistoryBusyError&) {
      return false;
    }
    return true;
  }
  // Recording only writes down what is taken as true already, so a busy or
  // read-only folder is no reason to refuse the history: the next change
  // records them.
  try {
    RecordBases(rules);
  } catch (const StoreError&) {
  }
  return false;
}

void HistoryStore::Compact() {
  if (folder_.empty()) return;
  const WriterLock writer(writer_);
  RemoveLeftoverCopies();
  const std::filesystem::path file = folder_ / kHistoryFileName;
  CompactHistoryFile(db_, file, folder_ / kCompactFileName, *locks_, [&] {
    ++reopenings_;
    db_ = Database::OpenFile(file);
    Configure(db_);
  });
}

bool HistoryStore::CompactWhenSparse() {
  if (folder_.empty() || !WorthCompacting(db_)) return false;
  Compact();
  return true;
}

void HistoryStore::RemoveLeftoverCopies() {
  if (!folder_.empty()) RemoveLeftoverTemporaries(folder_ / kHistoryFileName);
}

std::optional<IssueRule> HistoryStore::NextIssueRule() {
  if (!HasIssueRuleColumns(db_)) return std::nullopt;
  Statement rule = db_.Prepare(std::string("SELECT DrawsPerDay, ThreeDigit FROM ") + kBasesTable +
                               " WHERE DrawsPerDay IS NOT NULL AND ThreeDigit IS NOT NULL");
  if (!rule.Step()) return std::nullopt;
  return IssueRule{static_cast<int>(rule.Int(0)), rule.Int(1) != 0};
}

// Every RecordBases() empties the rule (it writes the bases alone, as earlier
// versions do), so a rule is only there when recorded after it.
void HistoryStore::RecordNextIssueRule(const IssueRule& rule) {
  EnsureIssueRuleColumns(db_);
  Statement record =
      db_.Prepare(std::string("UPDATE ") + kBasesTable + " SET DrawsPerDay = ?1, ThreeDigit = ?2");
  record.Bind(1, int64_t{rule.drawsPerDay}).Bind(2, int64_t{rule.threeDigit ? 1 : 0});
  record.Run();
}

void HistoryStore::ForgetNextIssueRuleUnless(const IssueRule& rule) {
  if (!HasIssueRuleColumns(db_)) return;
  Statement forget = db_.Prepare(
      std::string("UPDATE ") + kBasesTable +
      " SET DrawsPerDay = NULL, ThreeDigit = NULL WHERE DrawsPerDay IS NOT ?1 OR ThreeDigit IS "
      "NOT ?2");
  forget.Bind(1, int64_t{rule.drawsPerDay}).Bind(2, int64_t{rule.threeDigit ? 1 : 0});
  forget.Run();
}

}  // namespace zs
