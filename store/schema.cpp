#include "store/schema.h"

#include <sqlite3.h>

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "core/draw.h"
#include "core/errors.h"
#include "store/database.h"
#include "store/draw_pack.h"
#include "store/watch_table.h"

namespace zs {

namespace {

using ColumnList = std::vector<std::pair<std::string, const char*>>;

std::string FieldColumn(int position, int type) {
  return {'L', static_cast<char>('1' + position), kFieldLetters[type]};
}

const ColumnList& LishiColumns() {
  static const auto* columns = [] {
    auto* list = new ColumnList;
    for (const std::string& name : RowColumns(true)) {
      const bool text = name.starts_with("txt");
      list->emplace_back(name, text ? "TEXT" : "INTEGER");
    }
    list->emplace_back("intTh", "INTEGER DEFAULT 0");
    list->emplace_back("bolOk", "INTEGER DEFAULT 0");
    list->emplace_back("txtHisP6", "TEXT");
    return list;
  }();
  return *columns;
}

const ColumnList& YlColumns() {
  static const ColumnList columns = {{"content", "TEXT"},
                                     {"intMinYL", "INTEGER"},
                                     {"intMaxYL", "INTEGER"},
                                     {"intLstYl", "INTEGER"},
                                     {"sglLlr", "REAL"}};
  return columns;
}

std::string CreateTable(std::string_view table, const ColumnList& columns) {
  // Two programs may create a new file at once; the second finds it made.
  std::string sql = "CREATE TABLE IF NOT EXISTS " + std::string(table) + " (";
  for (size_t i = 0; i < columns.size(); ++i) {
    if (i > 0) sql += ", ";
    sql += columns[i].first + " " + columns[i].second;
  }
  return sql + ");";
}

constexpr const char* kCreateIndex = "CREATE INDEX IF NOT EXISTS SQQH ON Lishi(SQQH);";

bool SameName(std::string_view a, std::string_view b) {
  return sqlite3_stricmp(std::string(a).c_str(), std::string(b).c_str()) == 0;
}

// Throws unless `table` has every column of `columns` (names compare as SQL
// does, without regard to case).
void RequireColumns(Database& db, std::string_view table, const ColumnList& columns) {
  Statement info = db.Prepare("SELECT name FROM pragma_table_info(?1)");
  info.Bind(1, table);
  std::vector<std::string> present;
  while (info.Step()) present.emplace_back(info.Text(0));
  for (const auto& column : columns) {
    const std::string& name = column.first;
    const bool found = std::any_of(present.begin(), present.end(),
                                   [&](const std::string& p) { return SameName(p, name); });
    if (!found) {
      throw StoreError("不是历史数据库：表 " + std::string(table) + " 缺少列 " + name);
    }
  }
}

}  // namespace

std::vector<std::string> RowColumns(bool withTexts) {
  std::vector<std::string> columns = {"idx", "SQQH", "QQH"};
  for (int position = 0; position < kPositions; ++position) {
    for (int type = 0; type < kSearchTypeCount; ++type) {
      columns.push_back(FieldColumn(position, type));
    }
  }
  if (withTexts) columns.insert(columns.end(), kListTextColumns.begin(), kListTextColumns.end());
  return columns;
}

bool EnsureSchema(Database& db, bool mayWrite) {
  std::optional<Statement> objects;
  try {
    // The first read of a file fails here when it is no SQLite database.
    objects = db.Prepare(
        "SELECT type, name FROM sqlite_schema WHERE type IN ('table', 'view') AND name NOT LIKE "
        "'sqlite\\_%' ESCAPE '\\'");
  } catch (const HistoryBusyError&) {
    throw;
  } catch (const StoreError&) {
    throw StoreError(std::string("不是历史数据库：") + sqlite3_errmsg(db.handle()));
  }
  bool hasLishi = false;
  bool hasYl = false;
  while (objects->Step()) {
    const std::string type(objects->Text(0));
    const std::string name(objects->Text(1));
    if (type == "table" && SameName(name, "Lishi")) {
      hasLishi = true;
    } else if (type == "table" && SameName(name, "YL")) {
      hasYl = true;
    } else if (type == "table" &&
               (SameName(name, kBasesTable) || IsDrawPackTable(name) || IsWatchTable(name))) {
      continue;
    } else {
      throw StoreError("不是历史数据库：其中另有 " + type + " " + name);
    }
  }
  if (!hasLishi && !hasYl) {
    if (!mayWrite) throw StoreError("还没有历史数据，而文件不可写入，无法建立");
    Transaction transaction(db);
    db.Execute(CreateTable("Lishi", LishiColumns()) + kCreateIndex +
               CreateTable("YL", YlColumns()));
    transaction.Commit();
    EnsureDrawPack(db);
    return true;
  }
  if (!hasLishi || !hasYl) {
    throw StoreError(std::string("不是历史数据库：缺少表 ") + (hasLishi ? "YL" : "Lishi"));
  }
  RequireColumns(db, "Lishi", LishiColumns());
  RequireColumns(db, "YL", YlColumns());
  if (!mayWrite) return DrawPackInPlace(db);
  Statement index = db.Prepare(
      "SELECT 1 FROM sqlite_schema WHERE type = 'index' AND name = 'SQQH' COLLATE NOCASE");
  if (!index.Step()) db.Execute(kCreateIndex);
  EnsureDrawPack(db);
  return true;
}

bool HasBasesTable(Database& db) {
  Statement table = db.Prepare("SELECT 1 FROM sqlite_schema WHERE type = 'table' AND name = ?1");
  table.Bind(1, std::string_view(kBasesTable));
  return table.Step();
}

void EnsureBasesTable(Database& db) {
  db.Execute(std::string("CREATE TABLE IF NOT EXISTS ") + kBasesTable +
             " (SxIni INTEGER, DsIni INTEGER)");
}

bool HasIssueRuleColumns(Database& db) {
  Statement column = db.Prepare("SELECT 1 FROM pragma_table_info(?1) WHERE name = 'DrawsPerDay'");
  column.Bind(1, std::string_view(kBasesTable));
  return column.Step();
}

void EnsureIssueRuleColumns(Database& db) {
  if (HasIssueRuleColumns(db)) return;
  db.Execute(std::string("ALTER TABLE ") + kBasesTable + " ADD COLUMN DrawsPerDay INTEGER;" +
             "ALTER TABLE " + kBasesTable + " ADD COLUMN ThreeDigit INTEGER");
}

}  // namespace zs
