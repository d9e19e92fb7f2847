#include "store/omission_table.h"

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

void ReplaceOmissionRecords(HistoryStore& store, const std::vector<OmissionRecord>& records) {
  HistoryStore::Change change(store);
  Database& db = store.db();
  db.Execute("DELETE FROM YL");
  Statement insert = db.Prepare(
      "INSERT INTO YL (content, intMinYL, intMaxYL, intLstYl, sglLlr) VALUES (?, ?, ?, ?, ?)");
  for (const OmissionRecord& record : records) {
    insert.Bind(1, std::string_view(record.content))
        .Bind(2, int64_t{record.smallest})
        .Bind(3, int64_t{record.largest})
        .Bind(4, int64_t{record.last})
        .Bind(5, static_cast<double>(record.ratio));
    insert.Run();
    insert.Reset();
  }
  change.Commit();
}

std::vector<OmissionRecord> LoadOmissionRecords(Database& db, OmissionSortKey key) {
  Statement select =
      db.Prepare("SELECT content, intMinYL, intMaxYL, intLstYl, sglLlr FROM YL ORDER BY " +
                 std::string(SortKeyColumn(key)) + ", rowid");
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

}  // namespace zs
