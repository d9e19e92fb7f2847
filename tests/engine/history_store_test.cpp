#include "store/history_store.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "core/errors.h"
#include "store/omission_table.h"
#include "tests/support/derivation_rules.h"
#include "tests/support/stored_history.h"
#include "tests/support/temp_folder.h"

namespace zs {
namespace {

using testing::DrawOf;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

// The bases the test histories are derived with: not the defaults, so a row
// derived with the wrong bases shows up.
const DerivationRules kRules = testing::Rules(0, 1);

std::vector<Draw> Draws(const std::vector<int32_t>& issues) {
  std::vector<Draw> draws;
  for (int32_t issue : issues) draws.push_back(DrawOf(issue));
  return draws;
}

// What the store should hand back for `draws`: their rows derived under
// kRules, in issue order (equal issues in the order given), numbered 1..N.
std::vector<HistoryRow> Stored(std::vector<Draw> draws) {
  std::stable_sort(draws.begin(), draws.end(),
                   [](const Draw& a, const Draw& b) { return a.issue < b.issue; });
  std::vector<HistoryRow> rows;
  for (const Draw& draw : draws) {
    rows.push_back(DeriveRow(draw, kRules));
    rows.back().idx = static_cast<int32_t>(rows.size());
  }
  return rows;
}

std::vector<int32_t> Issues(HistoryStore& store) {
  std::vector<int32_t> issues;
  for (const Draw& draw : store.LoadDraws()) issues.push_back(draw.issue);
  return issues;
}

std::vector<int32_t> Idx(HistoryStore& store) {
  std::vector<int32_t> idx;
  store.ForEachRow([&idx](const HistoryRow& row) { idx.push_back(row.idx); });
  return idx;
}

std::string ReadBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::filesystem::path& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary) << bytes;
}

std::vector<std::string> Columns(Database& db, const char* table) {
  std::vector<std::string> names;
  Statement info = db.Prepare("SELECT name, type FROM pragma_table_info(?1)");
  info.Bind(1, table);
  while (info.Step()) names.push_back(std::string(info.Text(0)) + " " + std::string(info.Text(1)));
  return names;
}

TEST(HistorySchemaTest, NewStoreHasEveryColumnAndTheIndex) {
  auto store = HistoryStore::OpenMemory();
  const std::vector<std::string> lishi = Columns(store->db(), "Lishi");
  ASSERT_EQ(lishi.size(), 3u + 48u + 7u + 3u);
  EXPECT_THAT(
      std::vector<std::string>(lishi.begin(), lishi.begin() + 10),
      ElementsAre("idx INTEGER", "SQQH INTEGER", "QQH INTEGER", "L1A INTEGER", "L1B INTEGER",
                  "L1E INTEGER", "L1F INTEGER", "L1G INTEGER", "L1H INTEGER", "L2A INTEGER"));
  EXPECT_EQ(lishi[50], "L8H INTEGER");
  EXPECT_THAT(std::vector<std::string>(lishi.begin() + 51, lishi.end()),
              ElementsAre("txtHisLst TEXT", "txtHisLstHm TEXT", "txtHisLstSx TEXT",
                          "txtHisLstDs TEXT", "txtHisLstTou TEXT", "txtHisLstWei TEXT",
                          "txtHisLstHe TEXT", "intTh INTEGER", "bolOk INTEGER", "txtHisP6 TEXT"));
  EXPECT_THAT(Columns(store->db(), "YL"),
              ElementsAre("content TEXT", "intMinYL INTEGER", "intMaxYL INTEGER",
                          "intLstYl INTEGER", "sglLlr REAL"));

  Statement index = store->db().Prepare(
      "SELECT tbl_name, (SELECT group_concat(name) FROM pragma_index_info('SQQH')) "
      "FROM sqlite_schema WHERE type = 'index' AND name = 'SQQH'");
  ASSERT_TRUE(index.Step());
  EXPECT_EQ(index.Text(0), "Lishi");
  EXPECT_EQ(index.Text(1), "SQQH");
}

TEST(HistorySchemaTest, BracketedSearchSqlWorksOnTheTable) {
  auto store = HistoryStore::OpenMemory();
  store->ReplaceAllDraws(Draws({14011682, 14011683}), kRules);
  store->db().Execute("UPDATE [Lishi] SET [intTh]=0");
  store->db().Execute("UPDATE [Lishi] SET [txtHisP6]= [txtHisLstHm]");
  Statement select = store->db().Prepare(
      "SELECT count(*) FROM [lishi] WHERE [SQQH] >= 14011682 AND  [SQQH] <= 14011683 AND "
      "[intTh] = 0 AND [bolOk] = 0 AND [txtHisP6] LIKE '%X%' ORDER BY [IDX]");
  ASSERT_TRUE(select.Step());
  EXPECT_EQ(select.Int(0), 2);
}

class HistoryFileTest : public ::testing::Test {
 protected:
  std::filesystem::path File() const { return folder_.path() / kHistoryFileName; }
  testing::TempFolder folder_;
};

TEST_F(HistoryFileTest, AbsentAndEmptyFilesGetTheSchema) {
  {
    auto store = HistoryStore::OpenFolder(folder_.path());
    store->ReplaceAllDraws(Draws({14011682}), kRules);
  }
  EXPECT_EQ(HistoryStore::OpenFolder(folder_.path())->Count(), 1);

  std::filesystem::remove(File());
  WriteBytes(File(), "");
  auto store = HistoryStore::OpenFolder(folder_.path());
  EXPECT_EQ(store->Count(), 0);
  EXPECT_EQ(Columns(store->db(), "YL").size(), 5u);
}

struct ForeignFile {
  const char* name;
  const char* sql;  // builds an SQLite file; null: `bytes` are written as they are
  const char* bytes;
  const char* message;  // part of the refusal
};

class ForeignFileTest : public HistoryFileTest,
                        public ::testing::WithParamInterface<ForeignFile> {};

TEST_P(ForeignFileTest, IsRefusedAndLeftByteIdentical) {
  const ForeignFile& c = GetParam();
  if (c.sql != nullptr) {
    Database::OpenFile(File()).Execute(c.sql);
  } else {
    WriteBytes(File(), c.bytes);
  }
  const std::string before = ReadBytes(File());
  // The folder's lock file is the only newcomer.
  std::set<std::string> entries = folder_.Entries();
  entries.insert(kLockFileName);

  EXPECT_THAT([&] { HistoryStore::OpenFolder(folder_.path()); },
              ::testing::ThrowsMessage<StoreError>(
                  ::testing::AllOf(HasSubstr(File().string()), HasSubstr(c.message))));
  EXPECT_EQ(ReadBytes(File()), before);
  EXPECT_EQ(folder_.Entries(), entries);
}

INSTANTIATE_TEST_SUITE_P(
    Refusal, ForeignFileTest,
    ::testing::Values(
        ForeignFile{"Garbage", nullptr,
                    "Standard Jet DB\nthis is no SQLite file at all, just some text bytes that "
                    "are long enough to look like a header ..................................",
                    "not a database"},
        ForeignFile{"OtherTable", "CREATE TABLE customers (name TEXT)", nullptr, "customers"},
        ForeignFile{"HistoryBesideOtherTable",
                    "CREATE TABLE Lishi (idx INTEGER); CREATE TABLE YL (content TEXT);"
                    "CREATE TABLE extra (x INTEGER)",
                    nullptr, "extra"},
        ForeignFile{"LishiMissingColumns",
                    "CREATE TABLE Lishi (idx INTEGER, SQQH INTEGER, QQH INTEGER);"
                    "CREATE TABLE YL (content TEXT, intMinYL INTEGER, intMaxYL INTEGER, "
                    "intLstYl INTEGER, sglLlr REAL)",
                    nullptr, "缺少列 L1A"},
        ForeignFile{"LishiWithoutYl", "CREATE TABLE Lishi (idx INTEGER)", nullptr, "YL"},
        ForeignFile{"View", "CREATE VIEW v AS SELECT 1", nullptr, "view v"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(HistoryFileTest, MissingIndexIsAddedToAHistoryFile) {
  {
    auto store = HistoryStore::OpenFolder(folder_.path());
    store->db().Execute("DROP INDEX SQQH");
  }
  auto store = HistoryStore::OpenFolder(folder_.path());
  Statement index = store->db().Prepare("SELECT count(*) FROM sqlite_schema WHERE name = 'SQQH'");
  ASSERT_TRUE(index.Step());
  EXPECT_EQ(index.Int(0), 1);
}

TEST_F(HistoryFileTest, AnInterruptedChangeLeavesTheCommittedHistory) {
  const std::vector<Draw> draws = Draws({14011682, 14011683, 14011684});
  HistoryStore::OpenFolder(folder_.path())->ReplaceAllDraws(draws, kRules);

  // The child dies inside a transaction that has already written to the
  // file; the next open must find the history as committed.
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    try {
      auto store = HistoryStore::OpenFolder(folder_.path());
      store->db().Execute("PRAGMA cache_size = 1");
      store->db().Execute("BEGIN IMMEDIATE");
      store->db().Execute("DELETE FROM Lishi");
      store->db().Execute(
          "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < 5000) "
          "INSERT INTO Lishi (SQQH, txtHisLst) SELECT x, printf('%0200d', x) FROM n");
      _exit(0);  // with the connection still open
    } catch (...) {
      _exit(1);
    }
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  ASSERT_EQ(WEXITSTATUS(status), 0);
  ASSERT_TRUE(std::filesystem::exists(File().string() + "-journal"));

  EXPECT_EQ(testing::StoredRows(*HistoryStore::OpenFolder(folder_.path())), Stored(draws));
}

class HistoryStoreTest : public ::testing::Test {
 protected:
  HistoryStoreTest() : store_(HistoryStore::OpenMemory()) {}
  std::unique_ptr<HistoryStore> store_;
};

TEST_F(HistoryStoreTest, EmptyHistoryHasNoRows) {
  EXPECT_EQ(store_->Count(), 0);
  EXPECT_TRUE(testing::StoredRows(*store_).empty());
  EXPECT_TRUE(store_->LoadDraws().empty());
  EXPECT_FALSE(store_->First());
  EXPECT_FALSE(store_->Last());
  EXPECT_FALSE(store_->NextToLast());
  EXPECT_EQ(store_->CountBelow(99999999), 0);
  EXPECT_FALSE(store_->DeleteLast());
  EXPECT_EQ(store_->Count(), 0);
}

TEST_F(HistoryStoreTest, ReplaceAllDrawsStoresRowsInIssueOrderNumberedFromOne) {
  store_->ReplaceAllDraws(Draws({14011684, 14011701}), testing::Rules());
  const std::vector<Draw> draws = Draws({14011702, 14011682, 14011701, 14011684, 14011683});
  store_->ReplaceAllDraws(draws, kRules);

  EXPECT_EQ(testing::StoredRows(*store_), Stored(draws));
  EXPECT_EQ(store_->Bases(), (RecordedBases{0, 1}));
  const std::vector<Draw> loaded = store_->LoadDraws();
  ASSERT_EQ(loaded.size(), 5u);
  EXPECT_EQ(loaded[2], DrawOf(14011684));

  EXPECT_EQ(store_->First()->issue, 14011682);
  EXPECT_EQ(store_->Last(), Stored(draws).back());
  EXPECT_EQ(store_->NextToLast()->issue, 14011701);
  EXPECT_EQ(store_->CountBelow(14011684), 2);
  EXPECT_EQ(store_->CountBelow(14011690), 3);
}

TEST_F(HistoryStoreTest, ReplaceAllDrawsStoresMoreThanOneSlice) {
  std::vector<int32_t> issues;  // in falling order
  for (int32_t issue = 14019999; issue > 14019999 - 9000; --issue) issues.push_back(issue);
  store_->ReplaceAllDraws(Draws(issues), kRules);
  EXPECT_EQ(testing::StoredRows(*store_), Stored(Draws(issues)));
}

TEST_F(HistoryStoreTest, ForEachRowVisitsTheRowsWithoutTextsInIssueOrder) {
  int visits = 0;
  store_->ForEachRow([&visits](const HistoryRow&) { ++visits; });
  EXPECT_EQ(visits, 0);

  store_->ReplaceAllDraws(Draws({14011702, 14011682, 14011701}), kRules);
  store_->AppendDraws(Draws({14011684, 14011683}), kRules);
  std::vector<HistoryRow> visited;
  store_->ForEachRow([&visited](const HistoryRow& row) { visited.push_back(row); });
  std::vector<HistoryRow> expected =
      Stored(Draws({14011702, 14011682, 14011701, 14011684, 14011683}));
  for (HistoryRow& row : expected) row.texts = {};
  EXPECT_EQ(visited, expected);
}

// A trigger that fails on one issue makes a change break off half-way.
void FailOnIssue(HistoryStore& store, int32_t issue) {
  store.db().Execute("CREATE TEMP TRIGGER fail BEFORE INSERT ON Lishi WHEN NEW.SQQH = " +
                     std::to_string(issue) + " BEGIN SELECT RAISE(ABORT, 'disk gone'); END");
}

TEST_F(HistoryStoreTest, ReplacementFailingLateLeavesTheOldHistory) {
  const std::vector<Draw> old = Draws({14011682, 14011683});
  store_->ReplaceAllDraws(old, kRules);
  std::vector<Draw> draws;
  for (int32_t issue = 1; issue <= 9000; ++issue) draws.push_back(DrawOf(issue));
  FailOnIssue(*store_, 8500);
  EXPECT_THROW(store_->ReplaceAllDraws(draws, testing::Rules()), StoreError);
  EXPECT_EQ(testing::StoredRows(*store_), Stored(old));
  EXPECT_EQ(store_->Bases(), (RecordedBases{0, 1}));
}

TEST_F(HistoryStoreTest, ReplaceAllDrawsWithNothingEmptiesTheHistory) {
  store_->ReplaceAllDraws(Draws({14011682}), kRules);
  store_->ReplaceAllDraws({}, kRules);
  EXPECT_EQ(store_->Count(), 0);
}

TEST_F(HistoryStoreTest, IdxIsNotLimitedToSixteenBits) {
  std::vector<int32_t> issues;
  for (int32_t i = 0; i < 40000; ++i) issues.push_back(100000000 + i);
  store_->ReplaceAllDraws(Draws(issues), kRules);
  EXPECT_EQ(store_->Last()->idx, 40000);
  store_->AppendDraws(Draws({99999999}), kRules);
  EXPECT_EQ(store_->Last()->idx, 40001);
  EXPECT_EQ(store_->First()->idx, 1);
}

TEST_F(HistoryStoreTest, FailedChangesLeaveTheHistoryAsItWas) {
  const std::vector<Draw> old = Draws({14011682, 14011683, 14011684});
  store_->ReplaceAllDraws(old, kRules);
  FailOnIssue(*store_, 14011690);

  EXPECT_THAT(
      [&] {
        store_->ReplaceAllDraws(Draws({14011701, 14011702, 14011690, 14011703}), kRules);
      },
      ::testing::ThrowsMessage<StoreError>(HasSubstr("disk gone")));
  EXPECT_EQ(testing::StoredRows(*store_), Stored(old));

  EXPECT_THROW(store_->AppendDraws(Draws({14011701, 14011690}), kRules), StoreError);
  EXPECT_THROW(store_->AppendDraws(Draws({14011701, 14011690}), kRules, true), StoreError);
  EXPECT_EQ(testing::StoredRows(*store_), Stored(old));

  // The re-derivation writes every stored row again.
  store_->db().Execute("DROP TRIGGER fail");
  FailOnIssue(*store_, 14011684);
  EXPECT_THROW(store_->Rederive(testing::Rules()), StoreError);
  EXPECT_EQ(testing::StoredRows(*store_), Stored(old));
  store_->db().Execute("DROP TRIGGER fail");

  // The store stays usable after the failures.
  store_->AppendDraws(Draws({14011701}), kRules);
  EXPECT_EQ(store_->Count(), 4);
}

TEST_F(HistoryStoreTest, AppendRenumbersAroundRowsInTheMiddle) {
  store_->ReplaceAllDraws(Draws({14011682, 14011684, 14011702}), kRules);
  store_->AppendDraws(Draws({14011701, 14011683}), kRules);
  EXPECT_THAT(Issues(*store_), ElementsAre(14011682, 14011683, 14011684, 14011701, 14011702));
  EXPECT_THAT(Idx(*store_), ElementsAre(1, 2, 3, 4, 5));
  EXPECT_EQ(store_->Last()->idx, 5);
  EXPECT_EQ(store_->First()->texts[0], DeriveRow(DrawOf(14011682), kRules).texts[0]);

  store_->AppendDraws(Draws({14011703}), kRules);
  EXPECT_THAT(Idx(*store_), ElementsAre(1, 2, 3, 4, 5, 6));
}

TEST_F(HistoryStoreTest, RepeatedAppendsKeepIdxInIssueOrder) {
  std::vector<Draw> all = Draws({14011682, 14011702});
  store_->ReplaceAllDraws(all, kRules);
  uint32_t seed = 12345;
  for (int round = 0; round < 30; ++round) {
    std::vector<int32_t> issues;
    for (int i = 0; i < 1 + round % 4; ++i) {
      seed = seed * 1103515245u + 12345u;
      issues.push_back(14011600 + static_cast<int32_t>(seed >> 16) % 150);
    }
    const std::vector<Draw> batch = Draws(issues);
    store_->AppendDraws(batch, kRules);
    all.insert(all.end(), batch.begin(), batch.end());
    ASSERT_EQ(testing::StoredRows(*store_), Stored(all)) << "after round " << round;
  }
}

TEST_F(HistoryStoreTest, AppendCanReplaceTheHistory) {
  store_->ReplaceAllDraws(Draws({14011682, 14011684}), kRules);
  const std::vector<Draw> draws = Draws({14011702, 14011701});
  store_->AppendDraws(draws, kRules, true);
  EXPECT_EQ(testing::StoredRows(*store_), Stored(draws));
}

TEST_F(HistoryStoreTest, DeleteLastRemovesTheHighestIssue) {
  store_->ReplaceAllDraws(Draws({14011682, 14011684}), kRules);
  store_->AppendDraws(Draws({14011683}), kRules);
  EXPECT_TRUE(store_->DeleteLast());
  EXPECT_THAT(Issues(*store_), ElementsAre(14011682, 14011683));
  EXPECT_THAT(Idx(*store_), ElementsAre(1, 2));
  EXPECT_TRUE(store_->DeleteLast());
  EXPECT_TRUE(store_->DeleteLast());
  EXPECT_FALSE(store_->DeleteLast());
}

TEST_F(HistoryStoreTest, ClearEmptiesTheHistoryButNotTheOmissionTable) {
  store_->ReplaceAllDraws(Draws({14011682, 14011684}), kRules);
  store_->db().Execute("INSERT INTO YL VALUES ('01 02', 1, 5, 6, 0.8333)");
  store_->Clear();
  EXPECT_EQ(store_->Count(), 0);
  Statement yl = store_->db().Prepare("SELECT count(*) FROM YL");
  ASSERT_TRUE(yl.Step());
  EXPECT_EQ(yl.Int(0), 1);
  store_->Clear();
  EXPECT_EQ(store_->Count(), 0);
}

TEST_F(HistoryStoreTest, RederiveKeepsIssueNumbersAndIdx) {
  store_->ReplaceAllDraws(Draws({14011682, 14011684}), kRules);
  store_->AppendDraws(Draws({14011683}), kRules);
  const DerivationRules rules = testing::Rules(0, 0);
  store_->Rederive(rules);
  const std::vector<HistoryRow> rows = testing::StoredRows(*store_);
  ASSERT_EQ(rows.size(), 3u);
  for (size_t i = 0; i < rows.size(); ++i) {
    HistoryRow expected = DeriveRow(DrawOf(rows[i].issue), rules);
    expected.idx = static_cast<int32_t>(i + 1);
    EXPECT_EQ(rows[i], expected);
  }
  EXPECT_THAT(Issues(*store_), ElementsAre(14011682, 14011683, 14011684));
  EXPECT_EQ(store_->Bases(), (RecordedBases{0, 0}));
}

TEST_F(HistoryFileTest, CompactKeepsTheRowsAndLeavesTheCompactedCopy) {
  auto store = HistoryStore::OpenFolder(folder_.path());
  const std::vector<Draw> draws = Draws({14011682, 14011683, 14011684});
  store->ReplaceAllDraws(draws, kRules);
  WriteBytes(folder_.path() / kCompactFileName, "stale copy of an earlier run");

  store->Compact();
  EXPECT_EQ(folder_.Entries(),
            (std::set<std::string>{kHistoryFileName, kCompactFileName, kLockFileName}));
  EXPECT_EQ(ReadBytes(File()), ReadBytes(folder_.path() / kCompactFileName));
  EXPECT_EQ(testing::StoredRows(*store), Stored(draws));

  // The reopened store writes to the file in the folder.
  store->AppendDraws(Draws({14011701}), kRules);
  store->Compact();
  EXPECT_EQ(HistoryStore::OpenFolder(folder_.path())->Count(), 4);
}

TEST_F(HistoryFileTest, FailedCompactKeepsTheOldFileAndAWorkingStore) {
  auto store = HistoryStore::OpenFolder(folder_.path());
  store->ReplaceAllDraws(Draws({14011682, 14011683}), kRules);
  // A journal beside the file stops the compaction after the store let go of
  // the file; an empty one holds nothing SQLite would replay.
  WriteBytes(folder_.path() / (std::string(kHistoryFileName) + "-journal"), "");

  EXPECT_THROW(store->Compact(), StoreError);
  EXPECT_EQ(store->Count(), 2);
  store->AppendDraws(Draws({14011684}), kRules);
  EXPECT_EQ(HistoryStore::OpenFolder(folder_.path())->Count(), 3);
}

TEST_F(HistoryFileTest, ASecondWriterWaitsBrieflyThenIsRefused) {
  auto first = HistoryStore::OpenFolder(folder_.path());
  auto second = HistoryStore::OpenFolder(folder_.path());
  first->ReplaceAllDraws(Draws({14011682}), kRules);
  {
    const HistoryStore::WriterLock busy(first->writer());
    EXPECT_THAT([&] { second->AppendDraws(Draws({14011683}), kRules); },
                ::testing::ThrowsMessage<HistoryBusyError>(HasSubstr(kHistoryBusyMessage)));
  }
  second->AppendDraws(Draws({14011683}), kRules);
  EXPECT_THAT(Issues(*first), ElementsAre(14011682, 14011683));

  // Let go within the wait, the lock is waited for.
  first->writer().lock();
  std::thread release([&] {
    std::this_thread::sleep_for(std::chrono::seconds(1));
    first->writer().unlock();
  });
  EXPECT_NO_THROW(second->AppendDraws(Draws({14011684}), kRules));
  release.join();
  EXPECT_THAT(Issues(*first), ElementsAre(14011682, 14011683, 14011684));
}

// Another program's write holds the file: opening and reading wait for it,
// and when it outlasts the wait they say the history is busy, never that the
// file is no history database.
TEST_F(HistoryFileTest, AnotherProgramsLongWriteIsBusyNotForeign) {
  auto reader = HistoryStore::OpenFolder(folder_.path());
  reader->ReplaceAllDraws(Draws({14011682}), kRules);
  Database writer = Database::OpenFile(File());
  writer.Execute("BEGIN EXCLUSIVE");
  const auto busy =
      ::testing::ThrowsMessage<HistoryBusyError>(::testing::StrEq(kHistoryBusyMessage));
  EXPECT_THAT([&] { HistoryStore::OpenFolder(folder_.path()); }, busy);
  EXPECT_THAT([&] { reader->Count(); }, busy);

  std::thread commit([&] {
    std::this_thread::sleep_for(std::chrono::seconds(1));
    writer.Execute("COMMIT");
  });
  EXPECT_EQ(HistoryStore::OpenFolder(folder_.path())->Count(), 1);
  commit.join();
}

// Opened for reading only: every read works (a copy DrawPack that its
// triggers no longer guard is not trusted), every change is refused naming
// the folder, and the folder stays as it was, lock file included.
TEST_F(HistoryFileTest, AReadOnlyStoreReadsAndRefusesEveryChange) {
  {
    auto store = HistoryStore::OpenFolder(folder_.path());
    store->ReplaceAllDraws(Draws({14011682, 14011683}), kRules);
    store->db().Execute("DROP TRIGGER DrawPackStaleOnDelete; DELETE FROM Lishi WHERE idx = 2");
  }
  std::filesystem::remove(folder_.path() / kLockFileName);
  const std::string before = ReadBytes(File());
  const std::set<std::string> entries = folder_.Entries();

  auto store = HistoryStore::OpenFolder(folder_.path(), HistoryStore::Access::kReadOnly);
  EXPECT_TRUE(store->ReadOnly());
  EXPECT_EQ(store->LoadDerived().draws.issues, std::vector<int32_t>{14011682});
  EXPECT_THAT(Issues(*store), ElementsAre(14011682));
  EXPECT_EQ(testing::StoredRows(*store), Stored(Draws({14011682})));
  EXPECT_FALSE(store->FollowBases(testing::Rules()));
  const std::function<void()> changes[] = {
      [&] { store->AppendDraws(Draws({14011684}), kRules); },
      [&] { store->Rederive(kRules); },
      [&] { store->Clear(); },
      [&] { ReplaceOmissionRecords(*store, {}); },
      [&] { store->Compact(); },
  };
  for (const auto& change : changes) {
    EXPECT_THAT(change, ::testing::ThrowsMessage<StoreError>(
                            HasSubstr("数据文件夹 " + folder_.path().string() + " 不可写入")));
  }
  EXPECT_EQ(ReadBytes(File()), before);
  EXPECT_EQ(folder_.Entries(), entries);

  const testing::TempFolder empty;
  EXPECT_THAT([&] { HistoryStore::OpenFolder(empty.path(), HistoryStore::Access::kReadOnly); },
              ::testing::ThrowsMessage<StoreError>(HasSubstr(
                  "数据文件夹 " + empty.path().string() + " 不可写入，其中也还没有 tessera.mdb")));
  EXPECT_TRUE(empty.Entries().empty());
}

// A folder, or a history file, that this user may not write opens for
// reading. The check runs as an unprivileged user, as root may write
// anything.
TEST_F(HistoryFileTest, WhatCannotBeWrittenOpensForReading) {
  HistoryStore::OpenFolder(folder_.path())->ReplaceAllDraws(Draws({14011682}), kRules);
  struct Case {
    std::filesystem::perms folder, file;
  };
  using std::filesystem::perms;
  for (const Case& c : {Case{perms(0555), perms(0644)}, Case{perms(0777), perms(0444)}}) {
    std::filesystem::permissions(folder_.path(), c.folder);
    std::filesystem::permissions(File(), c.file);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(2);
      std::unique_ptr<HistoryStore> store;
      try {
        store = HistoryStore::OpenFolder(folder_.path());
        if (!store->ReadOnly() || store->Count() != 1) _exit(3);
      } catch (const StoreError&) {
        _exit(4);
      }
      try {
        store->AppendDraws(Draws({14011683}), kRules);
        _exit(5);
      } catch (const StoreError& error) {
        _exit(std::string(error.what()).find(folder_.path().string()) != std::string::npos ? 0 : 6);
      }
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    std::filesystem::permissions(folder_.path(), perms(0755));
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 2) GTEST_SKIP() << "cannot switch to an unprivileged user";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "folder " << static_cast<int>(c.folder);
  }
}

TEST(HistoryMemoryTest, CompactOfAMemoryStoreChangesNothing) {
  auto store = HistoryStore::OpenMemory();
  store->ReplaceAllDraws(Draws({14011682}), kRules);
  store->Compact();
  EXPECT_EQ(store->Count(), 1);
  EXPECT_TRUE(store->folder().empty());
}

}  // namespace
}  // namespace zs
