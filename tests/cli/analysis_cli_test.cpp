// End-to-end runs of zephyrstat-cli's analysis commands (search, partial,
// group, table), each test in its own temporary data folder and settings.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "core/derivation.h"
#include "core/draw.h"
#include "core/issue_number.h"
#include "core/settings.h"
#include "store/history_store.h"
#include "tests/support/cli_runner.h"
#include "tests/support/workbook_reader.h"
#include "tools/history_generator.h"

namespace zs {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

const std::string kHitHeading =
    "期号\t平1位\t平2位\t平3位\t平4位\t平5位\t平6位\t平7位\t平8位\t遗漏次数\t序号";
const std::string kSummaryHeading = "号码（分组）\t最小遗漏\t最大遗漏\t最后遗漏\t大后比";

// 115 draws on 84-a-day issues from 14010101; the draws with idx 101, 104,
// 105 and 110 start with 7, the others with 1.
std::vector<Draw> WorkedExampleDraws() {
  const std::set<int> hits = {101, 104, 105, 110};
  std::vector<Draw> draws;
  int32_t issue = 14010101;
  for (int idx = 1; idx <= 115; ++idx) {
    draws.push_back(Draw{issue, {hits.count(idx) ? 7 : 1, 2, 3, 4, 5, 6, 8, 9}});
    issue = FollowingIssue(issue, IssueRule{84, false});
  }
  return draws;
}

class AnalysisCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    draws_ = WorkedExampleDraws();
    WriteFileBytes(cli_.root() / "history.txt", HistoryFileText(draws_, false));
    ASSERT_EQ(Run({"settings", "GsZl", "0"}).exitStatus, 0);
    const CliResult imported = Run({"import", (cli_.root() / "history.txt").string()});
    ASSERT_EQ(imported.exitStatus, 0) << imported.err;
  }
  CliResult Run(const std::vector<std::string>& args) { return cli_.Run(args); }
  std::vector<std::string> Lines(const std::vector<std::string>& args) {
    const CliResult result = Run(args);
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    return OutputLines(result.out);
  }
  std::string Shown(int idx) const { return ShownIssue(draws_[idx - 1].issue, false); }

  CliRunner cli_{ZS_CLI_PATH};
  std::vector<Draw> draws_;
};

TEST_F(AnalysisCliTest, SearchPrintsHitsThenSummaryOfTheWorkedExample) {
  const std::vector<std::string> lines = Lines(
      {"search", "--type", "number", "--mode", "fixed", "--pos", "1=7", "--from", Shown(101)});
  EXPECT_THAT(lines, ElementsAre(kHitHeading, Shown(101) + "\t7\t2\t3\t4\t5\t6\t8\t9\t1\t1",
                                 Shown(104) + "\t7\t2\t3\t4\t5\t6\t8\t9\t3\t2",
                                 Shown(105) + "\t7\t2\t3\t4\t5\t6\t8\t9\t1\t3",
                                 Shown(110) + "\t7\t2\t3\t4\t5\t6\t8\t9\t5\t4", "", kSummaryHeading,
                                 "07 \t1\t5\t6\t0.833333333333333"));
  // The stored form in the box works as well; free mode labels with the typed text.
  const std::vector<std::string> free = Lines({"search", "--type", "0", "--mode", "free", "--pos",
                                               "3=007", "--from", Shown(101).substr(2)});
  EXPECT_EQ(free.back(), "007 \t1\t5\t6\t0.833333333333333");
}

TEST_F(AnalysisCliTest, JsonHoldsBothGrids) {
  const CliResult result = Run({"--json", "search", "--type", "number", "--mode", "fixed", "--pos",
                                "1=7", "--from", Shown(110), "--to", Shown(110)});
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_THAT(result.out, StartsWith("{\"hits\":{\"columns\":[\"期号\""));
  EXPECT_THAT(result.out, HasSubstr("\"summary\":{\"columns\":[\"号码（分组）\""));
  EXPECT_THAT(result.out, HasSubstr("[\"07 \",\"1\",\"1\",\"6\",\"0.166666666666667\"]"));
}

TEST_F(AnalysisCliTest, PartialFromAStoredDrawAndOutOfRangeK) {
  // Draw 110's pattern: every draw agrees with it at seven positions at least,
  // so all 15 draws of the range are hits.
  const std::vector<std::string> lines =
      Lines({"partial", "--type", "number", "--mode", "fixed", "--k", "6", "--pattern-of",
             Shown(110), "--from", Shown(101)});
  EXPECT_EQ(lines.size(), 1 + 15 + 1 + 2u);
  EXPECT_EQ(lines.back(), "7 2 3 4 5 6 8 9 (6)\t1\t1\t1\t1");
  const std::vector<std::string> none = Lines({"partial", "--type", "number", "--mode", "free",
                                               "--k", "9", "--values", "07,02,03,04,05,06,08,09"});
  EXPECT_THAT(none,
              ElementsAre(kHitHeading, "", kSummaryHeading,
                          "07 02 03 04 05 06 08 09 (9)\t32767\t32767\t116\t282.474137931034"));
}

TEST_F(AnalysisCliTest, ValuesNoDrawCarriesFindNothing) {
  for (const char* pos : {"1=25", "1=0", "1=-3"}) {
    const std::vector<std::string> lines =
        Lines({"search", "--type", "number", "--mode", "free", "--pos", pos});
    ASSERT_EQ(lines.size(), 4u) << pos;
    EXPECT_THAT(lines[3], HasSubstr("\t32767\t32767\t116\t"));
  }
}

TEST_F(AnalysisCliTest, GroupReplacesTheTableAndTableSortsIt) {
  EXPECT_THAT(Lines({"group", "--type", "number", "--size", "1", "--select", "7,1,20"}),
              ElementsAre(kSummaryHeading, "01\t1\t3\t1\t3", "07\t1\t101\t6\t16.83333",
                          "20\t32767\t32767\t116\t282.4742"));
  EXPECT_THAT(Lines({"table", "--sort", "intMaxYL"}),
              ElementsAre(kSummaryHeading, "01\t1\t3\t1\t3", "07\t1\t101\t6\t16.83333",
                          "20\t32767\t32767\t116\t282.4742"));
  EXPECT_THAT(Lines({"table", "--sort", "sglLlr"})[1], StartsWith("01\t"));

  // A refused size prints the message, exits 1 and leaves YL as it was.
  const CliResult refused = Run({"group", "--type", "number", "--size", "5", "--select",
                                 "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19"});
  EXPECT_EQ(refused.exitStatus, 1);
  EXPECT_THAT(refused.err, HasSubstr("5个分组请选择18个（含）以内的个数的号码"));
  EXPECT_EQ(Lines({"table"}).size(), 4u);

  // So does a range box that is not a number.
  const CliResult badRange =
      Run({"group", "--type", "units", "--size", "2", "--select", "1,2", "--to", "2014x"});
  EXPECT_EQ(badRange.exitStatus, 1);
  EXPECT_EQ(Lines({"table"}).size(), 4u);
}

// Another program has re-derived the history under zodiac base 0 and still
// holds it, its settings not saved yet: a search names the zodiac of the base
// the stored fields were derived under, so the names are those shown under
// base 1 (shifted ones would be wrong or blank).
TEST_F(AnalysisCliTest, ZodiacNamesFollowTheBaseOfTheStoredFields) {
  const std::vector<std::string> search = {"search",   "--type", "zodiac",  "--mode",
                                           "free",     "--pos",  "1",       "--pattern-of",
                                           Shown(110), "--from", Shown(101)};
  const std::vector<std::string> underBaseOne = Lines(search);
  Settings other;
  ApplySetting(other, SettingKey::kEdition, "0");
  ApplySetting(other, SettingKey::kZodiacBase, "0");
  auto store = HistoryStore::OpenFolder(cli_.dataFolder());
  store->Rederive(DerivationRules::From(other));
  const HistoryStore::WriterLock midChange(store->writer());
  EXPECT_EQ(Lines(search), underBaseOne);
}

TEST_F(AnalysisCliTest, BadInputIsRefused) {
  struct Case {
    std::vector<std::string> args;
    int status;
    const char* message;
  };
  const std::vector<Case> cases = {
      {{"search", "--type", "number", "--mode", "free", "--from", "2014abcdefg"}, 1, "不是数字"},
      {{"partial", "--type", "0", "--mode", "free", "--k", "2", "--values", "1,2,3,4,5,6,7,8",
        "--to", "x"},
       1,
       "不是数字"},
      {{"search", "--type", "colour", "--mode", "free"}, 2, "--type"},
      {{"search", "--type", "number", "--mode", "loose"}, 2, "--mode"},
      {{"search", "--type", "number", "--mode", "free", "--pos", "9=1"}, 2, "1..8"},
      {{"search", "--type", "number", "--mode", "free", "--pos", "1=x"}, 2, "whole number"},
      {{"search", "--type", "number", "--mode", "free", "--pos", "1"}, 2, "I=V"},
      {{"partial", "--type", "0", "--mode", "free", "--k", "2", "--values", "1,2,3"}, 2, "eight"},
      {{"partial", "--type", "0", "--mode", "free", "--k", "2"}, 2, "--values"},
      {{"partial", "--type", "0", "--mode", "free", "--k", "2", "--pattern-of", "2013010101"},
       1,
       "早于第一期"},
      {{"group", "--type", "number", "--size", "2", "--select", "0,21"}, 2, "1..20"},
      {{"table", "--sort", "content"}, 2, "--sort"},
  };
  for (const Case& c : cases) {
    const CliResult result = Run(c.args);
    EXPECT_EQ(result.exitStatus, c.status) << c.args[0] << " " << result.err;
    EXPECT_THAT(result.err, HasSubstr(c.message)) << c.args[0];
    EXPECT_TRUE(result.out.empty()) << result.out;
  }
}

TEST_F(AnalysisCliTest, ExportPrintsTheSameGridsAndNamesTheWrittenSheetsOnStderr) {
  const std::string hits = (cli_.dataFolder() / "Jiansuo.xls").string();
  const std::string summary = (cli_.dataFolder() / "Jieguo.xls").string();
  const std::vector<std::string> search = {"search", "--type", "number", "--mode",  "fixed",
                                           "--pos",  "1=7",    "--from", Shown(101)};
  for (const bool json : {false, true}) {
    std::vector<std::string> args = search;
    if (json) args.insert(args.begin(), "--json");
    const CliResult plain = Run(args);
    args.push_back("--export");
    const CliResult exported = Run(args);
    EXPECT_EQ(exported.exitStatus, 0) << exported.err;
    EXPECT_EQ(exported.out, plain.out);
    EXPECT_THAT(OutputLines(exported.err), ElementsAre(hits, summary));
  }
  EXPECT_EQ(testing::ReadWorkbook(hits).Extent(), std::make_pair(5, 11));
  EXPECT_EQ(testing::ReadWorkbook(summary).Rows(2, 5)[1],
            (std::vector<std::string>{"07 ", "1", "5", "6", "0.833333333333333"}));
  const CliResult table = Run({"table", "--export"});
  EXPECT_EQ(table.out, Run({"table"}).out);
  EXPECT_THAT(OutputLines(table.err), ElementsAre(summary));
  EXPECT_EQ(testing::ReadWorkbook(summary).Extent().first, 1);

  // A group calculation writes the table alone; the search's hit list of
  // before stays, and neither the help nor the output claims it.
  const CliResult group =
      Run({"group", "--type", "number", "--size", "2", "--select", "3,7", "--export"});
  EXPECT_THAT(OutputLines(group.err), ElementsAre(summary));
  EXPECT_TRUE(std::filesystem::exists(hits));
  EXPECT_THAT(cli_.RunRaw({"group", "--help"}).out, Not(HasSubstr("Jiansuo.xls")));
}

}  // namespace
}  // namespace zs
