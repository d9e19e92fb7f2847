#include "store/omission_table.h"

#include <algorithm>
#include <array>
#include <string>

#include "store/database.h"
#include "store/history_store.h"

namespace zs {

namespace {

constexpr std::array<std::string_view, 4> kKeyColumns = {"intMinYL", "intMaxYL", "intLstYl",
                                                         "sglLlr"};

}  // namespace

std::string_view SortKeyColumn(OmissionSortKey key) {
  return kKeyColumns[static_cast<size_t>(key)];
}

std::optional<OmissionSortKey> SortKeyOfColumnName(std::string_view name) {
  for (size_t i = 0; i < kKeyColumns.size(); ++i) {
    if (kKeyColumns[i] == name) return static_cast<OmissionSortKey>(i);
  }
  return std::nullopt;
}

namespace {

// Rows go in several at a time: one statement per batch saves most of
// SQLite's per-statement work, the larger part of writing small rows.
constexpr size_t kBatchRecords = 64;

std::string InsertSql(size_t recordCount) {
  std::string sql = "INSERT INTO YL (content, intMinYL, intMaxYL, intLstYl, sglLlr) VALUES ";
  for (size_t i = 0; i < recordCount; ++i) sql += i == 0 ? "(?, ?, ?, ?, ?)" : ", (?, ?, ?, ?, ?)";
  return sql;
}

// Inserts `count` records with `insert`, made by InsertSql(count). The
// records' texts are not copied: they outlive the statement run.
void InsertBatch(Statement& insert, const OmissionRecord* records, size_t count) {
  int parameter = 1;
  for (size_t i = 0; i < count; ++i) {
    const OmissionRecord& record = records[i];
    insert.BindUncopied(parameter, record.content)
        .Bind(parameter + 1, int64_t{record.smallest})
        .Bind(parameter + 2, int64_t{record.largest})
        .Bind(parameter + 3, int64_t{record.last})
        .Bind(parameter + 4, static_cast<double>(record.ratio));
    parameter += 5;
  }
  insert.Run();
  insert.Reset();
}

}  // namespace

void ReplaceOmissionRecords(HistoryStore& store, const std::vector<OmissionRecord>& records) {
  HistoryStore::Change change(store);
  Database& db = store.db();
  db.Execute("DELETE FROM YL");
  size_t done = 0;
  if (records.size() >= kBatchRecords) {
    Statement batch = db.Prepare(InsertSql(kBatchRecords));
    for (; records.size() - done >= kBatchRecords; done += kBatchRecords) {
      InsertBatch(batch, records.data() + done, kBatchRecords);
    }
  }
  if (done < records.size()) {
    Statement rest = db.Prepare(InsertSql(records.size() - done));
    InsertBatch(rest, records.data() + done, records.size() - done);
  }
  change.Commit();
}

std::vector<OmissionRecord> LoadOmissionRecords(HistoryStore& store, OmissionSortKey key,
                                                SortDirection direction) {
  Statement select =
      store.db().Prepare("SELECT content, intMinYL, intMaxYL, intLstYl, sglLlr FROM YL ORDER BY " +
                         std::string(SortKeyColumn(key)) +
                         (direction == SortDirection::kDescending ? " DESC" : "") + ", rowid");
  std::vector<OmissionRecord> records;
  while (select.Step()) {
    OmissionRecord record;
    record.content = std::string(select.Text(0));
    record.smallest = static_cast<int32_t>(select.Int(1));
    record.largest = static_cast<int32_t>(select.Int(2));
    record.last = static_cast<int32_t>(select.Int(3));
    record.ratio = static_cast<float>(select.Real(4));
    records.push_back(std::move(record));
  }
  return records;
}

std::vector<OmissionRecord> SortOmissionRecords(std::vector<OmissionRecord> records,
                                                OmissionSortKey key) {
  const auto value = [key](const OmissionRecord& record) -> double {
    switch (key) {
      case OmissionSortKey::kSmallest:
        return record.smallest;
      case OmissionSortKey::kLargest:
        return record.largest;
      case OmissionSortKey::kLast:
        return record.last;
      case OmissionSortKey::kRatio:
        return record.ratio;
    }
    return 0;
  };
  // Stable: equal keys keep the stored order, as rowid keeps it in the table.
  std::stable_sort(
      records.begin(), records.end(),
      [&](const OmissionRecord& a, const OmissionRecord& b) { return value(a) < value(b); });
  return records;
}

}  // namespace zs
