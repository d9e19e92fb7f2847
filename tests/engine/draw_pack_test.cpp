// The compact copy DrawPack always equals the table Lishi, or is empty and
// is then made from Lishi: after each change of the store (across chunk
// boundaries), after changes made by SQL from outside the store, and in a
// database that had no copy yet.
#include "store/draw_pack.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "store/history_store.h"
#include "tests/support/stored_history.h"
#include "tests/support/temp_folder.h"

namespace zs {
namespace {

using testing::DrawOf;

// Issues 10, 20, …: room for draws to go in between.
std::vector<Draw> Draws(int count) {
  std::vector<Draw> draws;
  for (int i = 1; i <= count; ++i) draws.push_back(DrawOf(10 * i));
  return draws;
}

PackedHistory PackOfLishi(HistoryStore& store) {
  PackedHistory packed;
  store.ForEachRow([&packed](const HistoryRow& row) { packed.Add(row.issue, row.fields); });
  return packed;
}

struct Step {
  const char* what;
  std::function<void(HistoryStore&)> change;
  bool packStaysComplete;
};

TEST(DrawPackTest, EqualsLishiAfterEveryChange) {
  const int full = static_cast<int>(kPackChunkDraws);
  const std::vector<Step> steps = {
      {"replace with two chunks and a bit",
       [&](HistoryStore& s) { s.ReplaceAllDraws(Draws(2 * full + 5), DerivationRules()); }, true},
      {"append at the end",
       [](HistoryStore& s) {
         s.AppendDraws({DrawOf(900000), DrawOf(900010)}, DerivationRules());
       },
       true},
      {"append in the first chunk",
       [](HistoryStore& s) { s.AppendDraws({DrawOf(15)}, DerivationRules()); }, true},
      {"delete the last", [](HistoryStore& s) { s.DeleteLast(); }, true},
      {"delete back across a chunk boundary",
       [&](HistoryStore& s) {
         while (s.Count() > 2 * full - 1) s.DeleteLast();
       },
       true},
      {"derive every row anew",
       [](HistoryStore& s) {
         DerivationRules rules;
         rules.zodiacBase = 0;
         s.Rederive(rules);
       },
       true},
      {"work columns set by SQL",
       [](HistoryStore& s) { s.db().Execute("UPDATE Lishi SET intTh = 3, bolOk = 1"); }, true},
      {"a field changed by SQL",
       [](HistoryStore& s) { s.db().Execute("UPDATE Lishi SET L3B = 4 WHERE idx = 7"); }, false},
      {"a row deleted by SQL",
       [](HistoryStore& s) { s.db().Execute("DELETE FROM Lishi WHERE idx = 2"); }, false},
      {"a row inserted by SQL",
       [](HistoryStore& s) {
         s.db().Execute("INSERT INTO Lishi (idx, SQQH, L1A) VALUES (0, 5, 9)");
       },
       false},
      {"clear", [](HistoryStore& s) { s.Clear(); }, true},
      {"replace with exactly one chunk",
       [&](HistoryStore& s) { s.ReplaceAllDraws(Draws(full), DerivationRules()); }, true},
  };
  testing::TempFolder folder;
  std::unique_ptr<HistoryStore> store = HistoryStore::OpenFolder(folder.path());
  for (const Step& step : steps) {
    step.change(*store);
    const PackedHistory lishi = PackOfLishi(*store);
    const std::optional<PackedHistory> pack = ReadDrawPack(store->db());
    EXPECT_EQ(pack.has_value(), step.packStaysComplete) << step.what;
    if (pack) {
      EXPECT_EQ(pack->issues, lishi.issues) << step.what;
      EXPECT_EQ(pack->fields, lishi.fields) << step.what;
    }
    // Without a copy, the load reads Lishi and stores the copy again.
    const PackedHistory loaded = store->LoadPacked();
    EXPECT_EQ(loaded.issues, lishi.issues) << step.what;
    EXPECT_EQ(loaded.fields, lishi.fields) << step.what;
    EXPECT_TRUE(ReadDrawPack(store->db()).has_value()) << step.what;
  }
}

// A history database from before the copy existed opens, gets an empty
// copy and triggers, and its first load makes the copy.
TEST(DrawPackTest, DatabaseWithoutTheCopyGetsOne) {
  testing::TempFolder folder;
  HistoryStore::OpenFolder(folder.path())->ReplaceAllDraws(Draws(30), DerivationRules());
  {
    std::unique_ptr<HistoryStore> store = HistoryStore::OpenFolder(folder.path());
    store->db().Execute(
        "DROP TABLE DrawPack; DROP TRIGGER DrawPackStaleOnInsert; DROP TRIGGER "
        "DrawPackStaleOnDelete; DROP TRIGGER DrawPackStaleOnUpdate;");
  }
  std::unique_ptr<HistoryStore> store = HistoryStore::OpenFolder(folder.path());
  EXPECT_FALSE(ReadDrawPack(store->db()).has_value());
  EXPECT_EQ(store->LoadPacked().issues, PackOfLishi(*store).issues);
  ASSERT_TRUE(ReadDrawPack(store->db()).has_value());
  // The triggers are back: a change by SQL empties the copy.
  store->db().Execute("UPDATE Lishi SET L1A = 1");
  EXPECT_FALSE(ReadDrawPack(store->db()).has_value());
}

}  // namespace
}  // namespace zs
