#include "store/draw_pack.h"

#include <algorithm>
#include <string>

#include "store/database.h"

namespace zs {

namespace {

// A draw in a chunk: its issue as four little-endian bytes, then its fields.
constexpr size_t kIssueBytes = 4;
constexpr size_t kRecordBytes = kIssueBytes + kFieldsPerDraw;

constexpr std::array<const char*, 3> kTriggers = {"DrawPackStaleOnInsert", "DrawPackStaleOnDelete",
                                                  "DrawPackStaleOnUpdate"};

std::string FieldColumns() {
  std::string columns;
  for (int position = 0; position < kPositions; ++position) {
    for (int type = 0; type < kSearchTypeCount; ++type) {
      columns += ", L";
      columns += static_cast<char>('1' + position);
      columns += kFieldLetters[type];
    }
  }
  return columns;
}

std::string CreateTriggers() {
  const std::string body = " ON Lishi BEGIN DELETE FROM DrawPack; END;";
  // Only the columns the copy holds: the work columns of the counting scheme
  // (intTh, bolOk, txtHisP6) and idx change without making it stale.
  return std::string("CREATE TRIGGER IF NOT EXISTS ") + kTriggers[0] + " AFTER INSERT" + body +
         "CREATE TRIGGER IF NOT EXISTS " + kTriggers[1] + " AFTER DELETE" + body +
         "CREATE TRIGGER IF NOT EXISTS " + kTriggers[2] + " AFTER UPDATE OF SQQH" + FieldColumns() +
         body;
}

std::string DropTriggers() {
  std::string sql;
  for (const char* trigger : kTriggers)
    sql += std::string("DROP TRIGGER IF EXISTS ") + trigger + ";";
  return sql;
}

void AppendChunk(const PackedHistory& packed, size_t begin, size_t end, std::string& bytes) {
  bytes.clear();
  bytes.reserve((end - begin) * kRecordBytes);
  for (size_t draw = begin; draw < end; ++draw) {
    const auto issue = static_cast<uint32_t>(packed.issues[draw]);
    for (size_t i = 0; i < kIssueBytes; ++i) bytes += static_cast<char>(issue >> (8 * i) & 0xff);
    const auto* fields = reinterpret_cast<const char*>(&packed.fields[draw * kFieldsPerDraw]);
    bytes.append(fields, kFieldsPerDraw);
  }
}

}  // namespace

void PackedHistory::Reserve(size_t draws) {
  issues.reserve(draws);
  fields.reserve(draws * kFieldsPerDraw);
}

void PackedHistory::Add(int32_t issue, const std::array<Numbers, kSearchTypeCount>& rowFields) {
  issues.push_back(issue);
  for (const Numbers& typeFields : rowFields) {
    for (int value : typeFields) fields.push_back(static_cast<int8_t>(value));
  }
}

bool IsDrawPackTable(std::string_view name) {
  return name.size() == 8 && std::equal(name.begin(), name.end(), "DrawPack",
                                        [](char a, char b) { return (a | 0x20) == (b | 0x20); });
}

bool DrawPackInPlace(Database& db) {
  Statement present = db.Prepare(
      "SELECT (SELECT count(*) FROM sqlite_schema WHERE type = 'table' AND name = 'DrawPack' "
      "COLLATE NOCASE), (SELECT count(*) FROM sqlite_schema WHERE type = 'trigger' AND tbl_name "
      "= 'Lishi' COLLATE NOCASE AND name LIKE 'DrawPackStale%')");
  present.Step();
  return present.Int(0) > 0 && present.Int(1) == static_cast<int64_t>(kTriggers.size());
}

void EnsureDrawPack(Database& db) {
  if (DrawPackInPlace(db)) return;
  Transaction transaction(db);
  db.Execute("CREATE TABLE IF NOT EXISTS DrawPack (chunk INTEGER PRIMARY KEY, draws BLOB);" +
             CreateTriggers() + "DELETE FROM DrawPack;");
  transaction.Commit();
}

std::optional<PackedHistory> ReadDrawPack(Database& db) {
  Statement size = db.Prepare("SELECT count(*), coalesce(sum(length(draws)), 0) FROM DrawPack");
  size.Step();
  const auto chunks = static_cast<size_t>(size.Int(0));
  const auto bytes = static_cast<size_t>(size.Int(1));
  if (chunks == 0 || bytes % kRecordBytes != 0) return std::nullopt;
  const size_t draws = bytes / kRecordBytes;

  PackedHistory packed;
  packed.Reserve(draws);
  Statement select = db.Prepare("SELECT chunk, draws FROM DrawPack ORDER BY chunk");
  for (size_t chunk = 0; select.Step(); ++chunk) {
    const std::string_view records = select.Blob(1);
    // Chunks are numbered from 0 without a gap, and only the last is short.
    if (select.Int(0) != static_cast<int64_t>(chunk) || records.size() % kRecordBytes != 0 ||
        (chunk + 1 < chunks && records.size() != kPackChunkDraws * kRecordBytes)) {
      return std::nullopt;
    }
    for (size_t at = 0; at < records.size(); at += kRecordBytes) {
      uint32_t issue = 0;
      for (size_t i = 0; i < kIssueBytes; ++i) {
        issue |= static_cast<uint32_t>(static_cast<uint8_t>(records[at + i])) << (8 * i);
      }
      packed.issues.push_back(static_cast<int32_t>(issue));
      const auto* fields = reinterpret_cast<const int8_t*>(records.data() + at + kIssueBytes);
      packed.fields.insert(packed.fields.end(), fields, fields + kFieldsPerDraw);
    }
  }
  return packed;
}

DrawPackUpdate::DrawPackUpdate(Database& db) : db_(db) {
  {
    Statement first = db_.Prepare("SELECT 1 FROM DrawPack WHERE chunk = 0");
    wasComplete_ = first.Step();
  }
  db_.Execute(DropTriggers());
}

void DrawPackUpdate::RewriteFrom(int64_t first) {
  const size_t firstChunk =
      wasComplete_ ? static_cast<size_t>(std::max<int64_t>(first, 0)) / kPackChunkDraws : 0;
  Statement select = db_.Prepare("SELECT SQQH" + FieldColumns() +
                                 " FROM Lishi ORDER BY SQQH, rowid LIMIT -1 OFFSET ?1");
  select.Bind(1, static_cast<int64_t>(firstChunk * kPackChunkDraws));
  PackedHistory packed;
  std::array<Numbers, kSearchTypeCount> rowFields{};
  while (select.Step()) {
    int column = 1;
    for (int position = 0; position < kPositions; ++position) {
      for (int type = 0; type < kSearchTypeCount; ++type) {
        rowFields[type][position] = static_cast<int>(select.Int(column++));
      }
    }
    packed.Add(static_cast<int32_t>(select.Int(0)), rowFields);
  }
  WriteChunks(packed, firstChunk);
}

void DrawPackUpdate::RewriteAll(const PackedHistory& packed) { WriteChunks(packed, 0); }

void DrawPackUpdate::WriteChunks(const PackedHistory& packed, size_t firstChunk) {
  Statement drop = db_.Prepare("DELETE FROM DrawPack WHERE chunk >= ?1");
  drop.Bind(1, static_cast<int64_t>(firstChunk));
  drop.Run();
  Statement insert = db_.Prepare("INSERT INTO DrawPack (chunk, draws) VALUES (?1, ?2)");
  std::string bytes;
  size_t chunk = firstChunk;
  for (size_t begin = 0; begin < packed.DrawCount() || chunk == 0; begin += kPackChunkDraws) {
    AppendChunk(packed, begin, std::min(packed.DrawCount(), begin + kPackChunkDraws), bytes);
    insert.Bind(1, static_cast<int64_t>(chunk++)).BindBlobUncopied(2, bytes);
    insert.Run();
  }
}

void DrawPackUpdate::Finish() { db_.Execute(CreateTriggers()); }

}  // namespace zs
