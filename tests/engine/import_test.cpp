#include "history/import.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "core/errors.h"
#include "tests/support/stored_history.h"

namespace zs {
namespace {

class TextImportTest : public ::testing::Test {
 protected:
  TextImportTest() : store_(HistoryStore::OpenMemory()) {
    rules_.zodiacBase = 1;
    rules_.segmentBase = 1;
    rules_.issueRule = IssueRule{84, false};
    std::string pattern = (std::filesystem::temp_directory_path() / "zs-import-XXXXXX").string();
    folder_ = mkdtemp(pattern.data());
  }
  ~TextImportTest() override { std::filesystem::remove_all(folder_); }

  std::filesystem::path WriteFile(const std::string& bytes) {
    const std::filesystem::path file = folder_ / "历史号码.txt";
    std::ofstream(file, std::ios::binary) << bytes;
    return file;
  }

  ImportReport Import(const std::string& bytes) {
    return ImportHistoryFile(*store_, WriteFile(bytes), rules_);
  }

  void StoreHistory(const std::vector<Draw>& draws) { store_->ReplaceAllDraws(draws, rules_); }

  std::unique_ptr<HistoryStore> store_;
  DerivationRules rules_;
  std::filesystem::path folder_;
};

const std::vector<Draw> kEarlierHistory = {
    {14011582, {1, 2, 3, 4, 5, 6, 7, 8}},
    {14011583, {11, 12, 13, 14, 15, 16, 17, 18}},  // next-to-last
    {14011584, {20, 19, 18, 17, 16, 15, 14, 13}},  // last; the next issue is 14011601
};

TEST_F(TextImportTest, LinesWithoutIssueCountOnFromTheLineBefore) {
  const ImportReport report =
      Import("14011601  01 02 03 04 05 06 07 08\r\n09 10 11 12 13 14 15 16\r\n");
  EXPECT_EQ(report.stored, 2);
  EXPECT_EQ(report.inherited, 0);
  EXPECT_EQ(report.skipped, 0);
  EXPECT_EQ(store_->LoadDraws(), (std::vector<Draw>{{14011601, {1, 2, 3, 4, 5, 6, 7, 8}},
                                                    {14011602, {9, 10, 11, 12, 13, 14, 15, 16}}}));
}

TEST_F(TextImportTest, ReplacesTheHistoryWithDerivedRowsNumberedInIssueOrder) {
  StoreHistory(kEarlierHistory);
  Import("14011603  03 07 15 08 19 20 11 14\n14011601  01 02 03 04 05 06 07 08\n");
  const std::vector<HistoryRow> rows = testing::StoredRows(*store_);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].issue, 14011601);
  EXPECT_EQ(rows[1].issue, 14011603);
  for (size_t i = 0; i < rows.size(); ++i) {
    HistoryRow expected = DeriveRow(Draw{rows[i].issue, rows[i].numbers()}, rules_);
    expected.idx = static_cast<int32_t>(i + 1);
    EXPECT_EQ(rows[i], expected);
  }
}

TEST_F(TextImportTest, ShortFirstLineInheritsFromTheNextToLastStoredDraw) {
  StoreHistory(kEarlierHistory);
  // One blank after the issue: reading starts inside 03, so seven numbers
  // remain and position 8 comes from the next-to-last stored draw.
  const ImportReport report = Import("14011601 03 07 15 08 19 20 11 14\r\n");
  EXPECT_EQ(report.stored, 1);
  EXPECT_EQ(report.inherited, 1);
  EXPECT_EQ(store_->LoadDraws(), (std::vector<Draw>{{14011601, {7, 15, 8, 19, 20, 11, 14, 18}}}));
}

TEST_F(TextImportTest, ShortLineLaterInheritsFromTheLineBefore) {
  const ImportReport report = Import("14011601  01 02 03 04 05 06 07 08\r\n14011602  20 19 18\r\n");
  EXPECT_EQ(report.inherited, 1);
  EXPECT_EQ(store_->LoadDraws().back(), (Draw{14011602, {20, 19, 18, 4, 5, 6, 7, 8}}));
}

TEST_F(TextImportTest, FirstLineWithoutIssueFollowsTheStoredNextIssue) {
  StoreHistory(kEarlierHistory);
  Import("01 02 03 04 05 06 07 08\r\n");
  // The issue after the last stored draw (14011601) plus one.
  EXPECT_EQ(store_->LoadDraws(), (std::vector<Draw>{{14011602, {1, 2, 3, 4, 5, 6, 7, 8}}}));
}

TEST_F(TextImportTest, SingleStoredDrawGivesNothingToInherit) {
  StoreHistory({kEarlierHistory.front()});
  // Position 8 stays empty, so the line is not a draw.
  const ImportReport report =
      Import("14011601 03 07 15 08 19 20 11 14\r\n14011602  01 02 03 04 05 06 07 08\r\n");
  EXPECT_EQ(report.stored, 1);
  EXPECT_EQ(report.skipped, 1);
  EXPECT_EQ(store_->LoadDraws(), (std::vector<Draw>{{14011602, {1, 2, 3, 4, 5, 6, 7, 8}}}));
}

TEST_F(TextImportTest, CountsSkippedLinesOfEveryKind) {
  const ImportReport report = Import(
      "广东快乐十分历史号码\r\n"
      "14011601  01 02 03 04 05 06 07 08\r\n"
      "14011602  01 02 03 04 05 06 07 21\r\n"  // a number outside 1..20
      "14011601  08 07 06 05 04 03 02 01\r\n"  // the issue again
      "   14011603  09 10 11 12 13 14 15 16   \r\n"
      "2014011604 17 18 19 20 01 02 03 04\r\n"  // the text export's shown issue
      "05 06 07 08 09 10 11 12 13 14\r\n");     // more than eight numbers
  EXPECT_EQ(report.stored, 4);
  EXPECT_EQ(report.skipped, 3);
  EXPECT_EQ(report.inherited, 0);
  EXPECT_EQ(store_->LoadDraws(), (std::vector<Draw>{{14011601, {1, 2, 3, 4, 5, 6, 7, 8}},
                                                    {14011603, {9, 10, 11, 12, 13, 14, 15, 16}},
                                                    {14011604, {17, 18, 19, 20, 1, 2, 3, 4}},
                                                    {14011605, {5, 6, 7, 8, 9, 10, 11, 12}}}));
}

TEST_F(TextImportTest, NineDigitIssuesNeedOneBlank) {
  rules_.issueRule = IssueRule{84, true};
  Import("140116084 03 07 15 08 19 20 11 14\r\n");
  const std::optional<HistoryRow> last = store_->Last();
  ASSERT_TRUE(last.has_value());
  EXPECT_EQ(last->issue, 140116084);
  EXPECT_EQ(last->nextIssue, 140117001);
  EXPECT_EQ(last->numbers(), (Numbers{3, 7, 15, 8, 19, 20, 11, 14}));
}

TEST_F(TextImportTest, ReadsGb18030Text) {
  // "第" in GB18030 between the numbers; it is not valid UTF-8.
  const std::string line = "14011601  01 02 03 04 \xB5\xDA 05 06 07 08\r\n";
  EXPECT_EQ(Import(line).stored, 1);
  EXPECT_EQ(store_->LoadDraws().front().numbers, (Numbers{1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST_F(TextImportTest, InspectionCountsDrawsAndUnreadableLinesAndTellsAMostlyUnreadableFile) {
  struct Case {
    const char* text;
    int64_t draws;
    int64_t unreadable;
    bool mostlyUnreadable;
  };
  const Case cases[] = {
      {"14011601  01 02 03 04 05 06 07 08\r\n\r\n没有号码\r\n", 1, 1, false},  // half
      {"14011601  01 02 03 04 05 06 07 08\r\nx\r\ny\r\n", 1, 2, true},
      {"\x8f\xff\x01\n\xfe\x02\x03\n14011601  01 02 03 04 05 06 07 08\n", 1, 2, true},
      {"\r\n\r\n", 0, 0, false},
  };
  for (const Case& c : cases) {
    const HistoryFileInspection inspection = InspectHistoryFile(WriteFile(c.text), {});
    EXPECT_EQ(inspection.draws(), c.draws) << c.text;
    EXPECT_EQ(inspection.unreadableLines(), c.unreadable) << c.text;
    EXPECT_EQ(inspection.MostlyUnreadable(), c.mostlyUnreadable) << c.text;
  }
  const HistoryFileInspection inspection =
      InspectHistoryFile(WriteFile("14011601  01 02 03 04 05 06 07 08\r\nx\r\n"), {});
  EXPECT_EQ(DescribeInspection(inspection, 500000),
            "文件 " + inspection.file.string() +
                " 中有 1 期历史号码，另有 1 个非空行无法读取；现有历史号码 500000 期。");
}

TEST_F(TextImportTest, ImportOfAnInspectionReadsTheFileAgainOnlyWhenTheHistoryEndMoved) {
  const std::filesystem::path file = WriteFile("01 02 03 04 05 06 07 08\r\n");
  const HistoryFileInspection inspection = InspectHistoryFile(file, ImportBasisOf(*store_));
  EXPECT_EQ(inspection.draws(), 0);  // no issue to count on from yet
  StoreHistory(kEarlierHistory);     // another program stores a history meanwhile
  EXPECT_EQ(ImportInspectedFile(*store_, inspection, rules_).stored, 1);
  EXPECT_EQ(store_->LoadDraws(), (std::vector<Draw>{{14011602, {1, 2, 3, 4, 5, 6, 7, 8}}}));

  // Unchanged history: the parsed draws are stored, the file is not read again.
  const HistoryFileInspection again = InspectHistoryFile(file, ImportBasisOf(*store_));
  std::filesystem::remove(file);
  EXPECT_EQ(ImportInspectedFile(*store_, again, rules_).stored, 1);
}

class FailedImportTest : public TextImportTest,
                         public ::testing::WithParamInterface<const char*> {};

TEST_P(FailedImportTest, DrawlessFileLeavesTheHistoryAsItWas) {
  StoreHistory(kEarlierHistory);
  const std::vector<HistoryRow> before = testing::StoredRows(*store_);
  EXPECT_THROW(Import(GetParam()), InputError);
  EXPECT_EQ(testing::StoredRows(*store_), before);
}

INSTANTIATE_TEST_SUITE_P(Drawless, FailedImportTest,
                         ::testing::Values("", "\r\n\r\n", "没有号码\r\n1 2 3 4 5 6 7 8\r\n",
                                           "14011601  21 22 23 24 25 26 27 28\r\n"));

TEST_F(TextImportTest, LinesWithoutIssueOnAnEmptyHistoryYieldNoDraw) {
  EXPECT_THROW(Import("01 02 03 04 05 06 07 08\r\n"), InputError);
  EXPECT_EQ(store_->Count(), 0);
}

TEST_F(TextImportTest, MissingOrUnreadableFileLeavesTheHistoryAsItWas) {
  StoreHistory(kEarlierHistory);
  const std::vector<HistoryRow> before = testing::StoredRows(*store_);
  EXPECT_THROW(ImportHistoryFile(*store_, folder_ / "不存在.txt", rules_), StoreError);
  EXPECT_THROW(ImportHistoryFile(*store_, folder_, rules_), StoreError);
  EXPECT_EQ(testing::StoredRows(*store_), before);
}

TEST_F(TextImportTest, DevicesAndOversizedFilesAreRefusedBeforeReading) {
  StoreHistory(kEarlierHistory);
  const std::vector<HistoryRow> before = testing::StoredRows(*store_);
  const std::filesystem::path oversized = WriteFile("14011601  01 02 03 04 05 06 07 08\n");
  std::filesystem::resize_file(oversized, kMaxImportBytes + 1);  // sparse: nothing is written
  try {
    ImportHistoryFile(*store_, oversized, rules_);
    ADD_FAILURE() << "an oversized file was read";
  } catch (const InputError& error) {
    EXPECT_NE(std::string(error.what()).find("64 MB"), std::string::npos) << error.what();
  }
  EXPECT_THROW(ImportHistoryFile(*store_, "/dev/zero", rules_), StoreError);
  EXPECT_EQ(testing::StoredRows(*store_), before);
}

TEST_F(TextImportTest, FileStoreKeepsTheImportAcrossReopening) {
  const std::filesystem::path file = WriteFile("14011601  01 02 03 04 05 06 07 08\r\n");
  {
    std::unique_ptr<HistoryStore> store = HistoryStore::OpenFolder(folder_);
    ImportHistoryFile(*store, file, rules_);
  }
  std::unique_ptr<HistoryStore> reopened = HistoryStore::OpenFolder(folder_);
  EXPECT_EQ(reopened->LoadDraws(), (std::vector<Draw>{{14011601, {1, 2, 3, 4, 5, 6, 7, 8}}}));
}

}  // namespace
}  // namespace zs
