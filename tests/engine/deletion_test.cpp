#include "store/deletion.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "core/derivation.h"
#include "core/errors.h"
#include "tests/support/derivation_rules.h"
#include "tests/support/stored_history.h"
#include "tests/support/temp_folder.h"

namespace zs {
namespace {

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

TEST_F(DeletionTest, EveryDeleteEndsWithACompaction) {
  EXPECT_EQ(Deleted(DeleteLastDraw(*store_)), 1);
  EXPECT_TRUE(std::filesystem::exists(folder_.path() / kCompactFileName));
  EXPECT_THAT(Issues(), ElementsAre(14011682, 14011683, 14011684, 14011701));
  EXPECT_EQ(store_->Last()->idx, 4);

  std::filesystem::remove(folder_.path() / kCompactFileName);
  DeleteLast(1);
  EXPECT_TRUE(std::filesystem::exists(folder_.path() / kCompactFileName));

  std::filesystem::remove(folder_.path() / kCompactFileName);
  DeleteAfter(14011682);
  EXPECT_TRUE(std::filesystem::exists(folder_.path() / kCompactFileName));
  EXPECT_EQ(HistoryStore::OpenFolder(folder_.path())->LoadDraws(),
            (std::vector<Draw>{kHistory[0]}));
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
                        Case{"the compacted copy cannot be made", [&] {
                               std::filesystem::remove(blocked);
                               std::filesystem::create_directories(blocked / "x");
                             }}}) {
    const int64_t before = store_->Count();
    const DeleteOutcome outcome = DeleteLastDraws(*store_, 1, folder_.path(), rules_);
    ASSERT_FALSE(outcome.compactionWarning) << c.name << ": nothing obstructs the first";
    c.obstruct();
    const DeleteOutcome obstructed = DeleteLastDraw(*store_);
    EXPECT_EQ(obstructed.deleted, 1) << c.name;
    ASSERT_TRUE(obstructed.compactionWarning) << c.name;
    EXPECT_THAT(*obstructed.compactionWarning, HasSubstr("暂未压缩")) << c.name;
    EXPECT_EQ(HistoryStore::OpenFolder(folder_.path())->Count(), before - 2) << c.name;
    reader.reset();
    std::filesystem::remove_all(blocked);
  }
}

// What a run killed during a compaction leaves behind.
TEST_F(DeletionTest, LeftoverTemporaryFilesDoNotHinderTheCompaction) {
  WriteBytes(folder_.path() / ".tessera.mdb.tmp-Ab12Cd", "half a copy");
  WriteBytes(folder_.path() / kCompactFileName, "half a vacuum");
  EXPECT_EQ(DeleteLast(1), 1);
  EXPECT_EQ(HistoryStore::OpenFolder(folder_.path())->Count(), 4);
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
