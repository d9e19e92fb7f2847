#include "store/watch_table.h"

#include <sqlite3.h>

#include <sstream>
#include <string>

#include "core/errors.h"
#include "core/text.h"
#include "store/database.h"
#include "store/history_store.h"

namespace zs {

namespace {

constexpr const char* kWatchTable = "Watchlist";

// The pattern column: search, the eight positions' values with "-" for a
// position that takes no part; partial, the eight values; combination, the
// boxes. Tokens are separated by blanks.
constexpr std::string_view kNotChosen = "-";

std::string PatternText(const Watch& watch) {
  std::string text;
  const auto add = [&text](std::string_view token) {
    if (!text.empty()) text += ' ';
    text += token;
  };
  switch (watch.kind) {
    case WatchKind::kSearch:
      for (int p = 0; p < kPositions; ++p) {
        add(watch.chosen[p] ? std::to_string(watch.values[p]) : std::string(kNotChosen));
      }
      break;
    case WatchKind::kPartial:
      for (int value : watch.values) add(std::to_string(value));
      break;
    case WatchKind::kCombination:
      for (int box : watch.boxes) add(std::to_string(box));
      break;
  }
  return text;
}

// Fills the pattern of `watch` (kind set) from its column; false when the
// text is not one PatternText writes.
bool ReadPattern(std::string_view text, Watch& watch) {
  std::istringstream tokens{std::string(text)};
  std::vector<std::string> parts;
  for (std::string token; tokens >> token;) parts.push_back(token);
  if (watch.kind != WatchKind::kCombination && parts.size() != kPositions) return false;
  for (size_t i = 0; i < parts.size(); ++i) {
    if (watch.kind == WatchKind::kSearch && parts[i] == kNotChosen) continue;
    const std::optional<int> value = ParseWhole<int>(parts[i]);
    if (!value) return false;
    if (watch.kind == WatchKind::kCombination) {
      watch.boxes.push_back(*value);
    } else {
      watch.values[i] = *value;
      watch.chosen[i] = watch.kind == WatchKind::kSearch;
    }
  }
  return true;
}

bool TablePresent(Database& db) {
  Statement table =
      db.Prepare("SELECT 1 FROM sqlite_schema WHERE type = 'table' AND name = ?1 COLLATE NOCASE");
  table.Bind(1, std::string_view(kWatchTable));
  return table.Step();
}

}  // namespace

bool IsWatchTable(std::string_view name) {
  return sqlite3_stricmp(std::string(name).c_str(), kWatchTable) == 0;
}

std::vector<Watch> LoadWatches(HistoryStore& store) {
  Database& db = store.db();
  std::vector<Watch> watches;
  if (!TablePresent(db)) return watches;
  Statement select = db.Prepare(
      std::string("SELECT number, name, kind, type, free, partSize, pattern, condition FROM ") +
      kWatchTable + " ORDER BY number");
  while (select.Step()) {
    Watch watch;
    watch.number = select.Int(0);
    watch.name = std::string(select.Text(1));
    const std::optional<WatchKind> kind = WatchKindNamed(select.Text(2));
    const int64_t type = select.Int(3);
    const std::optional<WatchCondition> condition = ParseWatchCondition(select.Text(7));
    if (kind) watch.kind = *kind;
    if (!kind || type < 0 || type >= kSearchTypeCount || !condition ||
        !ReadPattern(select.Text(6), watch)) {
      throw StoreError("关注表中编号为 " + std::to_string(watch.number) + " 的关注无法读取");
    }
    watch.type = static_cast<SearchType>(type);
    watch.freePositions = select.Int(4) != 0;
    watch.partSize = static_cast<int>(select.Int(5));
    watch.condition = *condition;
    watches.push_back(std::move(watch));
  }
  return watches;
}

int64_t AddWatch(HistoryStore& store, const Watch& watch) {
  HistoryStore::Change change(store);
  Database& db = store.db();
  // AUTOINCREMENT: a number once given stays used, also after its removal.
  db.Execute(std::string("CREATE TABLE IF NOT EXISTS ") + kWatchTable +
             " (number INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT, kind TEXT, type INTEGER, "
             "free INTEGER, partSize INTEGER, pattern TEXT, condition TEXT)");
  Statement insert = db.Prepare(std::string("INSERT INTO ") + kWatchTable +
                                " (name, kind, type, free, partSize, pattern, condition) VALUES "
                                "(?1, ?2, ?3, ?4, ?5, ?6, ?7)");
  const std::string pattern = PatternText(watch);
  const std::string condition = WatchConditionText(watch.condition);
  insert.Bind(1, std::string_view(watch.name))
      .Bind(2, WatchKindName(watch.kind))
      .Bind(3, int64_t{static_cast<int>(watch.type)})
      .Bind(4, int64_t{watch.freePositions ? 1 : 0})
      .Bind(5, int64_t{watch.partSize})
      .Bind(6, std::string_view(pattern))
      .Bind(7, std::string_view(condition));
  insert.Run();
  const int64_t number = sqlite3_last_insert_rowid(db.handle());
  change.Commit();
  return number;
}

bool RemoveWatch(HistoryStore& store, int64_t number) {
  HistoryStore::Change change(store);
  Database& db = store.db();
  if (!TablePresent(db)) return false;
  Statement remove = db.Prepare(std::string("DELETE FROM ") + kWatchTable + " WHERE number = ?1");
  remove.Bind(1, number);
  remove.Run();
  const bool removed = db.Changes() > 0;
  change.Commit();
  return removed;
}

}  // namespace zs
