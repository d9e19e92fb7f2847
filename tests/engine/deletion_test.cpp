#include "history/deletion.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "core/derivation.h"
#include "core/errors.h"
#include "core/issue_number.h"
#include "store/database.h"
#include "tests/support/derivation_rules.h"
#include "tests/support/stored_history.h"
#include "tests/support/temp_folder.h"

namespace zs {
namespace {

using testing::DrawOf;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using testing::Rules;

// The number deleted; a delete in a folder no other store has open also
// compacts.
int64_t Deleted(const DeleteOutcome& outcome) {
  EXPECT_EQ(outcome.compactionWarning, std::nullopt);
  return outcome.deleted;
}

std::string ReadBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::filesystem::path& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary) << bytes;
}

const std::vector<Draw> kHistory = {{14011682, {3, 7, 15, 8, 19, 20, 11, 14}},
                                    {14011683, {1, 2, 3, 4, 5, 6, 7, 8}},
                                    {14011684, {20, 19, 18, 17, 16, 15, 14, 13}},
                                    {14011701, {9, 10, 11, 12, 13, 14, 15, 16}},
                                    {14011702, {5, 5, 5, 5, 1, 1, 1, 1}}};

class DeletionTest : public ::testing::Test {
 protected:
  DeletionTest() : store_(HistoryStore::OpenFolder(folder_.path())) {
    store_->ReplaceAllDraws(kHistory, Rules(0, 0));
  }

  std::vector<int32_t> Issues() {
    std::vector<int32_t> issues;
    for (const Draw& draw : store_->LoadDraws()) issues.push_back(draw.issue);
    return issues;
  }
  std::filesystem::path Backup() const { return folder_.path() / kBackupFileName; }

  int64_t DeleteLast(int64_t count) {
    return Deleted(DeleteLastDraws(*store_, count, folder_.path(), rules_));
  }
  int64_t DeleteAfter(int32_t lastKept) {
    return Deleted(DeleteDrawsAfter(*store_, lastKept, folder_.path(), rules_));
  }

  testing::TempFolder folder_;
  std::unique_ptr<HistoryStore> store_;
  DerivationRules rules_ = Rules(1, 1);
};

TEST_F(DeletionTest, DeletingTheLastThreeKeepsTheFirstTwo) {
  EXPECT_EQ(DeleteLast(3), 3);
  EXPECT_THAT(Issues(), ElementsAre(14011682, 14011683));
  EXPECT_EQ(ReadBytes(Backup()),
            "14011682 03 07 15 08 19 20 11 14 \r\n"
            "14011683 01 02 03 04 05 06 07 08 \r\n");
}

// Deleting down to an issue keeps every draw up to it, stored or not, and
// says whether it is stored.
TEST_F(DeletionTest, DeletingDownToAnIssueSaysWhetherItIsStored) {
  struct Case {
    int32_t lastKept;
    int64_t deleted;
    bool stored;
  };
  for (const Case& c : {Case{14011684, 2, true}, Case{14011690, 2, false}, Case{14011702, 0, true},
                        Case{14011703, 0, false}, Case{14011600, 5, false}}) {
    store_->ReplaceAllDraws(kHistory, rules_);
    const DeleteOutcome outcome = DeleteDrawsAfter(*store_, c.lastKept, folder_.path(), rules_);
    EXPECT_EQ(Deleted(outcome), c.deleted) << c.lastKept;
    EXPECT_EQ(outcome.lastKeptStored, c.stored) << c.lastKept;
    EXPECT_EQ(store_->Count(), 5 - c.deleted) << c.lastKept;
  }
  EXPECT_FALSE(DeleteDrawsAfter(*store_, 0, folder_.path(), rules_).lastKeptStored);
}

TEST_F(DeletionTest, DeletingDownToAnUnstoredIssueKeepsEveryDrawUpToIt) {
  EXPECT_EQ(DeleteAfter(14011690), 2);
  EXPECT_THAT(Issues(), ElementsAre(14011682, 14011683, 14011684));
}

TEST_F(DeletionTest, DefaultAnswerOfDeleteDownToRemovesExactlyTheLast) {
  EXPECT_EQ(DeleteAfter(store_->Last()->issue - 1), 1);
  EXPECT_THAT(Issues(), ElementsAre(14011682, 14011683, 14011684, 14011701));
}

TEST_F(DeletionTest, DeletingAtLeastEveryDrawEmptiesTheHistory) {
  EXPECT_EQ(DeleteLast(5), 5);
  EXPECT_EQ(store_->Count(), 0);
  EXPECT_EQ(ReadBytes(Backup()), "");
  EXPECT_TRUE(std::filesystem::exists(Backup()));
}

TEST_F(DeletionTest, CountBeyondTheHistoryAndIssueBeforeTheFirstEmptyIt) {
  EXPECT_EQ(DeleteLast(1000000), 5);
  EXPECT_EQ(store_->Count(), 0);
  store_->ReplaceAllDraws(kHistory, rules_);
  EXPECT_EQ(DeleteAfter(14011600), 5);
  EXPECT_EQ(store_->Count(), 0);
}

struct NothingDeleted {
  const char* name;
  bool byCount;  // else by last kept issue
  int64_t answer;
};

class NothingDeletedTest : public DeletionTest,
                           public ::testing::WithParamInterface<NothingDeleted> {};

TEST_P(NothingDeletedTest, LeavesBackupAndHistoryUntouched) {
  const NothingDeleted& c = GetParam();
  WriteBytes(Backup(), "backup of an earlier delete\r\n");
  const std::vector<HistoryRow> before = testing::StoredRows(*store_);

  const int64_t deleted =
      c.byCount ? DeleteLast(c.answer) : DeleteAfter(static_cast<int32_t>(c.answer));
  EXPECT_EQ(deleted, 0);
  EXPECT_EQ(ReadBytes(Backup()), "backup of an earlier delete\r\n");
  EXPECT_EQ(testing::StoredRows(*store_), before);
}

INSTANTIATE_TEST_SUITE_P(Answers, NothingDeletedTest,
                         ::testing::Values(NothingDeleted{"CountZero", true, 0},
                                           NothingDeleted{"CountNegative", true, -3},
                                           NothingDeleted{"IssueZero", false, 0},
                                           NothingDeleted{"IssueNegative", false, -14011690},
                                           NothingDeleted{"IssueOfTheLastDraw", false, 14011702},
                                           NothingDeleted{"IssueAfterTheLastDraw", false,
                                                          99999999}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DeletionOfEmptyHistoryTest, DeletesNothing) {
  testing::TempFolder folder;
  auto store = HistoryStore::OpenFolder(folder.path());
  EXPECT_EQ(Deleted(DeleteLastDraw(*store)), 0);
  EXPECT_EQ(Deleted(DeleteLastDraws(*store, 3, folder.path(), Rules(1, 1))), 0);
  EXPECT_EQ(Deleted(DeleteDrawsAfter(*store, 14011690, folder.path(), Rules(1, 1))), 0);
  EXPECT_FALSE(std::filesystem::exists(folder.path() / kBackupFileName));
  EXPECT_EQ(store->Count(), 0);
}

TEST_F(DeletionTest, RebuiltRowsFollowTheCurrentSettings) {
  DeleteLast(2);
  const std::vector<HistoryRow> rows = testing::StoredRows(*store_);
  ASSERT_EQ(rows.size(), 3u);
  for (size_t i = 0; i < rows.size(); ++i) {
    HistoryRow expected = DeriveRow(kHistory[i], rules_);
    expected.idx = static_cast<int32_t>(i + 1);
    EXPECT_EQ(rows[i], expected);
  }
  // The old rows were derived with zodiac and segment codes one lower.
  EXPECT_NE(rows[0].fields[1], DeriveRow(kHistory[0], Rules(0, 0)).fields[1]);
}

// Draws enough for a delete of most of them to free a quarter of the file.
std::vector<Draw> LongHistory() {
  std::vector<Draw> draws;
  for (int32_t issue = 14011601; issue <= 14011684; ++issue) draws.push_back(DrawOf(issue));
  for (int32_t issue = 14011701; issue <= 14011784; ++issue) draws.push_back(DrawOf(issue));
  return draws;
}

// Only a file with a quarter of its pages free is compacted: a delete of a
// few draws costs no copy of the whole file.
TEST_F(DeletionTest, ADeleteCompactsOnlyAFileAQuarterFree) {
  const std::filesystem::path compacted = folder_.path() / kCompactFileName;
  store_->ReplaceAllDraws(LongHistory(), rules_);
  EXPECT_EQ(Deleted(DeleteLastDraw(*store_)), 1);
  EXPECT_EQ(DeleteLast(2), 2);
  EXPECT_FALSE(std::filesystem::exists(compacted));
  const auto before = std::filesystem::file_size(folder_.path() / kHistoryFileName);

  EXPECT_EQ(DeleteAfter(14011610), 155);
  EXPECT_TRUE(std::filesystem::exists(compacted));
  EXPECT_LT(std::filesystem::file_size(folder_.path() / kHistoryFileName), before);
  const std::vector<Draw> all = LongHistory();
  EXPECT_EQ(HistoryStore::OpenFolder(folder_.path())->LoadDraws(),
            std::vector<Draw>(all.begin(), all.begin() + 10));
}

// A delete is committed before the file is compacted; a compaction that
// cannot run leaves a warning, never an undone or unreported delete.
TEST_F(DeletionTest, ACompactionThatCannotRunOnlyWarns) {
  struct Case {
    const char* name;
    std::function<void()> obstruct;
  };
  std::unique_ptr<HistoryStore> reader;
  // A folder under the compacted copy's name, which cannot be removed.
  const std::filesystem::path blocked = folder_.path() / kCompactFileName;
  for (const Case& c : {Case{"another store has the file open",
                             [&] { reader = HistoryStore::OpenFolder(folder_.path()); }},
                        Case{"the compacted copy cannot be made",
                             [&] { std::filesystem::create_directories(blocked / "x"); }}}) {
    store_->ReplaceAllDraws(LongHistory(), rules_);
    c.obstruct();
    const DeleteOutcome obstructed = DeleteLastDraws(*store_, 150, folder_.path(), rules_);
    EXPECT_EQ(obstructed.deleted, 150) << c.name;
    ASSERT_TRUE(obstructed.compactionWarning) << c.name;
    EXPECT_THAT(*obstructed.compactionWarning, HasSubstr("暂未压缩")) << c.name;
    EXPECT_EQ(HistoryStore::OpenFolder(folder_.path())->Count(), 18) << c.name;
    reader.reset();
    std::filesystem::remove_all(blocked);
  }
}

// What runs killed during a compaction or a delete leave behind goes at the
// next change; files of other names stay.
TEST_F(DeletionTest, ChangesRemoveTheCopiesOfKilledRuns) {
  const std::vector<std::string> leftovers = {".tessera.mdb.tmp-Ab12Cd", ".lsbf.txt.tmp-Xy34Zw"};
  const std::vector<std::string> others = {".tessera.mdb.tmp-Ab12C", ".settings.tmp-Ab12Cd",
                                           "tessera.mdb.tmp-Ab12Cd"};
  struct Case {
    const char* name;
    std::function<void()> change;
    size_t removed;  // how many of the leftovers go
  };
  for (const Case& c :
       {Case{"typed draw", [&] { store_->AppendDraws({DrawOf(14011703)}, rules_); }, 1},
        Case{"compaction", [&] { store_->Compact(); }, 1},
        Case{"delete", [&] { DeleteLast(1); }, 2}}) {
    for (const std::string& name : leftovers) WriteBytes(folder_.path() / name, "half a copy");
    for (const std::string& name : others) WriteBytes(folder_.path() / name, "keep");
    c.change();
    for (size_t i = 0; i < leftovers.size(); ++i) {
      EXPECT_EQ(std::filesystem::exists(folder_.path() / leftovers[i]), i >= c.removed)
          << c.name << ": " << leftovers[i];
    }
    for (const std::string& name : others) {
      EXPECT_TRUE(std::filesystem::exists(folder_.path() / name)) << c.name << ": " << name;
    }
  }
}

// Rows that are what the rules derive stay as they are (with the work
// columns of the analyses); any other history is derived anew.
TEST_F(DeletionTest, OnlyRowsAsTheRulesDeriveThemAreKept) {
  const DerivationRules otherEdition = Rules(1, 1, IssueRule{72, false});
  struct Case {
    const char* name;
    std::function<void()> store;
    DerivationRules deleteUnder;
    bool kept;
  };
  for (const Case& c : {
           Case{"same rules", [] {}, rules_, true},
           Case{"other bases", [] {}, Rules(1, 0), false},
           Case{"other edition", [] {}, otherEdition, false},
           Case{"a draw added under another edition",
                [&] { store_->AppendDraws({DrawOf(14011703)}, otherEdition); }, rules_, false},
           Case{"a file of an earlier version, no issue rule recorded",
                [&] {
                  store_->db().Execute("DROP TABLE DerivedBases");
                  store_->FollowBases(rules_);
                },
                rules_, false},
           Case{"an issue stored twice",
                [&] {
                  std::vector<Draw> twice = kHistory;
                  twice.insert(twice.begin() + 1, {14011682, {1, 2, 3, 4, 5, 6, 7, 8}});
                  store_->ReplaceAllDraws(twice, rules_);
                },
                rules_, false},
       }) {
    store_->ReplaceAllDraws(kHistory, rules_);
    c.store();
    store_->db().Execute("UPDATE Lishi SET intTh = 5");
    // The rebuild also drops the second row of an issue.
    ASSERT_GE(Deleted(DeleteLastDraws(*store_, 1, folder_.path(), c.deleteUnder)), 1) << c.name;
    ASSERT_GT(store_->Count(), 0) << c.name;
    Statement marked = store_->db().Prepare("SELECT count(*) FROM Lishi WHERE intTh = 5");
    marked.Step();
    EXPECT_EQ(marked.Int(0), c.kept ? store_->Count() : 0) << c.name;
  }
}

// lsbf.txt is replaced only after the delete committed.
TEST_F(DeletionTest, ADeleteThatFailsLeavesTheBackupAsItWas) {
  WriteBytes(Backup(), "backup of an earlier delete\r\n");
  const std::vector<HistoryRow> before = testing::StoredRows(*store_);
  store_->db().Execute(
      "CREATE TRIGGER refuse BEFORE DELETE ON Lishi BEGIN SELECT RAISE(ABORT, 'refused'); END");
  // Under the rules the rows were stored with they are deleted directly,
  // under others the rest is rebuilt.
  for (const DerivationRules& rules : {Rules(0, 0), Rules(1, 1)}) {
    EXPECT_THROW(DeleteLastDraws(*store_, 2, folder_.path(), rules), StoreError);
    EXPECT_THROW(DeleteDrawsAfter(*store_, 14011683, folder_.path(), rules), StoreError);
    EXPECT_EQ(ReadBytes(Backup()), "backup of an earlier delete\r\n");
    EXPECT_EQ(testing::StoredRows(*store_), before);
  }
}

TEST_F(DeletionTest, ABackupThatCannotBeWrittenOnlyWarns) {
  std::filesystem::create_directories(Backup() / "x");
  const DeleteOutcome outcome = DeleteLastDraws(*store_, 2, folder_.path(), rules_);
  EXPECT_EQ(outcome.deleted, 2);
  ASSERT_TRUE(outcome.backupWarning);
  EXPECT_THAT(*outcome.backupWarning, HasSubstr(kBackupFileName));
  EXPECT_THAT(Issues(), ElementsAre(14011682, 14011683, 14011684));
}

TEST_F(DeletionTest, MissingBackupFailsWithoutTouchingTheHistory) {
  const std::vector<HistoryRow> before = testing::StoredRows(*store_);
  EXPECT_THROW(RebuildFromBackup(*store_, folder_.path(), rules_), StoreError);
  EXPECT_EQ(testing::StoredRows(*store_), before);
}

TEST_F(DeletionTest, RebuildReadsTheBackupAgain) {
  WriteBytes(Backup(),
             "14011683 01 02 03 04 05 06 07 08 \r\n"
             "14011682 03 07 15 08 19 20 11 14 \r\n");
  RebuildFromBackup(*store_, folder_.path(), rules_);
  EXPECT_THAT(Issues(), ElementsAre(14011682, 14011683));
  EXPECT_EQ(store_->Last()->idx, 2);
}

// A history as the program comes to hold it: stored under some rules, then
// perhaps a few draws added under another edition's issue rule, perhaps with
// an issue stored twice. Issues run across day ends of several editions and
// the Spring Festival of 2024, with gaps.
struct RandomHistory {
  std::vector<Draw> stored;    // in the order they went in
  std::vector<Draw> appended;  // added afterwards
  DerivationRules storedUnder;
  DerivationRules appendedUnder;
};

const std::vector<IssueRule> kIssueRules = {{84, false}, {72, false}, {97, false}, {84, true}};

DerivationRules RandomRules(std::mt19937& random, const IssueRule& issueRule) {
  return Rules(static_cast<int>(random() % 3), static_cast<int>(random() % 3), issueRule);
}

RandomHistory MakeHistory(std::mt19937& random) {
  RandomHistory history;
  const IssueRule& rule = kIssueRules[random() % kIssueRules.size()];
  history.storedUnder = RandomRules(random, rule);
  history.appendedUnder =
      random() % 2 == 0 ? history.storedUnder : RandomRules(random, kIssueRules[random() % 4]);
  const int32_t firstOfDay = FirstIssueOfDay(Date{2024, 2, 9}, rule);
  int32_t issue = firstOfDay + static_cast<int32_t>(random() % 100);
  const size_t count = random() % 40;
  for (size_t i = 0; i < count; ++i) {
    history.stored.push_back(DrawOf(issue));
    issue = FollowingIssue(issue, rule);
    if (random() % 5 == 0) issue = FollowingIssue(issue, rule);
  }
  if (!history.stored.empty() && random() % 4 == 0) {
    const Draw twice = history.stored[random() % history.stored.size()];
    history.stored.push_back({twice.issue, DrawOf(twice.issue + 7).numbers});
  }
  for (size_t i = random() % 4; i > 0 && !history.stored.empty(); --i) {
    history.appended.push_back(DrawOf(issue));
    issue = FollowingIssue(issue, history.appendedUnder.issueRule);
  }
  return history;
}

std::unique_ptr<HistoryStore> Stored(const RandomHistory& history) {
  auto store = HistoryStore::OpenMemory();
  store->ReplaceAllDraws(history.stored, history.storedUnder);
  store->AppendDraws(history.appended, history.appendedUnder);
  return store;
}

// The multi-draw deletes leave row for row what the rebuild from their
// lsbf.txt leaves, whether they delete directly or must derive anew.
TEST(DirectDeleteTest, LeavesWhatTheRebuildFromTheBackupLeaves) {
  std::mt19937 random(20261210);
  testing::TempFolder deleted;
  testing::TempFolder rebuilt;
  for (int trial = 0; trial < 60; ++trial) {
    const RandomHistory history = MakeHistory(random);
    DerivationRules rules = history.storedUnder;
    if (random() % 2 == 0) rules.issueRule = kIssueRules[random() % kIssueRules.size()];
    if (random() % 2 == 0) rules = RandomRules(random, rules.issueRule);
    std::vector<Draw> draws = Stored(history)->LoadDraws();
    const std::vector<HistoryRow> before = testing::StoredRows(*Stored(history));
    std::filesystem::remove(deleted / kBackupFileName);

    auto store = Stored(history);
    size_t keep = 0;
    DeleteOutcome outcome;
    if (random() % 2 == 0 || draws.empty()) {
      const auto count = static_cast<int64_t>(random() % (draws.size() + 2));
      keep = draws.size() - std::min(draws.size(), static_cast<size_t>(count));
      outcome = DeleteLastDraws(*store, count, deleted.path(), rules);
    } else {
      // A stored issue, or one between, before or after them.
      const int32_t lastKept =
          draws[random() % draws.size()].issue + static_cast<int32_t>(random() % 3) - 1;
      while (keep < draws.size() && draws[keep].issue <= lastKept) ++keep;
      outcome = DeleteDrawsAfter(*store, lastKept, deleted.path(), rules);
    }
    const std::string name = "trial " + std::to_string(trial);
    if (keep == draws.size()) {
      EXPECT_EQ(outcome.deleted, 0) << name;
      EXPECT_EQ(testing::StoredRows(*store), before) << name;
      EXPECT_FALSE(std::filesystem::exists(deleted / kBackupFileName)) << name;
      continue;
    }
    draws.resize(keep);
    std::string backup;
    for (const Draw& draw : draws) backup += BackupLine(draw, rules.issueRule.threeDigit) + "\r\n";
    EXPECT_EQ(ReadBytes(deleted / kBackupFileName), backup) << name;

    auto expected = Stored(history);
    WriteBytes(rebuilt / kBackupFileName, backup);
    RebuildFromBackup(*expected, rebuilt.path(), rules);
    EXPECT_EQ(outcome.deleted, static_cast<int64_t>(before.size()) - expected->Count()) << name;
    EXPECT_EQ(testing::StoredRows(*store), testing::StoredRows(*expected)) << name;
    EXPECT_EQ(store->LoadDraws(), expected->LoadDraws()) << name;
  }
}

TEST(BackupLineTest, WritesZeroPaddedIssueAndTwoDigitNumbers) {
  EXPECT_EQ(BackupLine({14011601, {3, 7, 15, 8, 19, 20, 11, 14}}, false),
            "14011601 03 07 15 08 19 20 11 14 ");
  EXPECT_EQ(BackupLine({14011601, {3, 7, 15, 8, 19, 20, 11, 14}}, false).size(), 33u);
  EXPECT_EQ(BackupLine({9123101, {1, 2, 3, 4, 5, 6, 7, 20}}, false),
            "09123101 01 02 03 04 05 06 07 20 ");
  EXPECT_EQ(BackupLine({91231001, {1, 2, 3, 4, 5, 6, 7, 20}}, true),
            "091231001 01 02 03 04 05 06 07 20 ");
  EXPECT_EQ(BackupLine({140116001, {10, 2, 3, 4, 5, 6, 7, 20}}, true),
            "140116001 10 02 03 04 05 06 07 20 ");
}

TEST(BackupFileTest, DrawsOf2009SurviveTheRoundTrip) {
  testing::TempFolder folder;
  auto store = HistoryStore::OpenFolder(folder.path());
  const DerivationRules rules = Rules(1, 1);
  const std::vector<Draw> draws = {{9123183, {1, 2, 3, 4, 5, 6, 7, 8}},
                                   {9123184, {9, 10, 11, 12, 13, 14, 15, 16}},
                                   {10010101, {17, 18, 19, 20, 1, 2, 3, 4}}};
  store->ReplaceAllDraws(draws, rules);

  EXPECT_EQ(Deleted(DeleteLastDraws(*store, 1, folder.path(), rules)), 1);
  EXPECT_EQ(ReadBytes(folder.path() / kBackupFileName),
            "09123183 01 02 03 04 05 06 07 08 \r\n"
            "09123184 09 10 11 12 13 14 15 16 \r\n");
  EXPECT_EQ(store->LoadDraws(), (std::vector<Draw>{draws[0], draws[1]}));
  EXPECT_EQ(store->Last()->nextIssue, 10010101);
}

}  // namespace
}  // namespace zs
