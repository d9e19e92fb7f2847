// End-to-end runs of zephyrstat-cli's analysis commands (search, partial,
// group, table, stats and trend) on a worked example, each test in its own
// temporary data folder and settings, and the arguments they refuse.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/derivation.h"
#include "core/draw.h"
#include "core/issue_number.h"
#include "core/settings.h"
#include "store/history_store.h"
#include "tests/support/cli_runner.h"
#include "tests/support/test_draws.h"
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

// 115 draws; those with idx 101, 104, 105 and 110 start with 7, the others with 1.
class AnalysisCliTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(ImportHistory(cli_, "0", HistoryFileText(draws_, false))); }
  std::vector<std::string> Lines(const std::vector<std::string>& args) {
    const CliResult result = cli_.Run(args);
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    return OutputLines(result.out);
  }
  std::string Shown(int idx) const { return ShownIssue(draws_[idx - 1].issue, false); }

  CliRunner cli_{ZS_CLI_PATH};
  const std::vector<Draw> draws_ = testing::SevensExample(115, {101, 104, 105, 110});
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
  const CliResult result = cli_.Run({"--json", "search", "--type", "number", "--mode", "fixed",
                                     "--pos", "1=7", "--from", Shown(110), "--to", Shown(110)});
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

  // A refused size or range box prints the message, exits 1 and leaves YL as it was.
  ExpectCliCases(
      cli_,
      {{{"group", "--type", "number", "--size", "5", "--select",
         "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19"},
        1,
        "",
        "5个分组请选择18个（含）以内的个数的号码"},
       {{"group", "--type", "units", "--size", "2", "--select", "1,2", "--to", "2014x"}, 1, ""}});
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
  ExpectCliCases(
      cli_,
      {
          {{"search", "--type", "number", "--mode", "free", "--from", "2014abcdefg"},
           1,
           "",
           "不是数字"},
          {{"partial", "--type", "0", "--mode", "free", "--k", "2", "--values", "1,2,3,4,5,6,7,8",
            "--to", "x"},
           1,
           "",
           "不是数字"},
          {{"search", "--type", "colour", "--mode", "free"}, 2, "", "--type"},
          {{"search", "--type", "number", "--mode", "loose"}, 2, "", "--mode"},
          {{"search", "--type", "number", "--mode", "free", "--pos", "9=1"}, 2, "", "1..8"},
          {{"search", "--type", "number", "--mode", "free", "--pos", "1=x"}, 2, "", "whole number"},
          {{"search", "--type", "number", "--mode", "free", "--pos", "1"}, 2, "", "I=V"},
          {{"partial", "--type", "0", "--mode", "free", "--k", "2", "--values", "1,2,3"},
           2,
           "",
           "eight"},
          {{"partial", "--type", "0", "--mode", "free", "--k", "2"}, 2, "", "--values"},
          {{"partial", "--type", "0", "--mode", "free", "--k", "2", "--pattern-of", "2013010101"},
           1,
           "",
           "早于第一期"},
          {{"group", "--type", "number", "--size", "2", "--select", "0,21"}, 2, "", "1..20"},
          {{"table", "--sort", "content"}, 2, "", "--sort"},
      });
}

TEST_F(AnalysisCliTest, ExportPrintsTheSameGridsAndNamesTheWrittenSheetsOnStderr) {
  const std::string hits = (cli_.dataFolder() / "Jiansuo.xls").string();
  const std::string summary = (cli_.dataFolder() / "Jieguo.xls").string();
  const std::vector<std::string> search = {"search", "--type", "number", "--mode",  "fixed",
                                           "--pos",  "1=7",    "--from", Shown(101)};
  for (const bool json : {false, true}) {
    std::vector<std::string> args = search;
    if (json) args.insert(args.begin(), "--json");
    const CliResult plain = cli_.Run(args);
    args.push_back("--export");
    const CliResult exported = cli_.Run(args);
    EXPECT_EQ(exported.exitStatus, 0) << exported.err;
    EXPECT_EQ(exported.out, plain.out);
    EXPECT_THAT(OutputLines(exported.err), ElementsAre(hits, summary));
  }
  EXPECT_EQ(testing::ReadWorkbook(hits).Extent(), std::make_pair(5, 11));
  EXPECT_EQ(testing::ReadWorkbook(summary).Rows(2, 5)[1],
            (std::vector<std::string>{"07 ", "1", "5", "6", "0.833333333333333"}));
  const CliResult table = cli_.Run({"table", "--export"});
  EXPECT_EQ(table.out, cli_.Run({"table"}).out);
  EXPECT_THAT(OutputLines(table.err), ElementsAre(summary));
  EXPECT_EQ(testing::ReadWorkbook(summary).Extent().first, 1);

  // A group calculation writes the table alone; the search's hit list of
  // before stays, and neither the help nor the output claims it.
  const CliResult group =
      cli_.Run({"group", "--type", "number", "--size", "2", "--select", "3,7", "--export"});
  EXPECT_THAT(OutputLines(group.err), ElementsAre(summary));
  EXPECT_TRUE(std::filesystem::exists(hits));
  EXPECT_THAT(cli_.RunRaw({"group", "--help"}).out, Not(HasSubstr("Jiansuo.xls")));
}

TEST_F(AnalysisCliTest, StatsOfTheFirstPosition) {
  const std::vector<std::string> lines = Lines(
      {"stats", "--type", "number", "--mode", "fixed", "--position", "1", "--from", Shown(101)});
  ASSERT_EQ(lines.size(), 21u);
  EXPECT_EQ(lines[0],
            "值\t出现次数\t理论次数\t出现频率\t最小遗漏\t最大遗漏\t最后遗漏\t上次遗漏\t平均遗漏\t"
            "欲出几率\t投资价值\t回补几率\t最大连出\t最大遗漏期号");
  // 15 draws at 1/20: 理论次数 0.75, 循环周期 20.
  // 01: 11 hits, omissions 2 1 3 1 1 1 2 1 1 1 1 (the 3 at idx 106), a run
  // of five at the end.
  EXPECT_EQ(lines[1], "01\t11\t0.75\t73.33%\t1\t3\t1\t1\t1.36\t0.73\t0.05\t0.00\t5\t" + Shown(106));
  // 02 never at position 1: the range start is the virtual hit.
  EXPECT_EQ(lines[2], "02\t0\t0.75\t0.00%\t32767\t32767\t16\t\t\t\t0.80\t\t0\t");
  // 07: omissions 1 3 1 5, then six to one past the newest draw.
  EXPECT_EQ(lines[7], "07\t4\t0.75\t26.67%\t1\t5\t6\t5\t2.50\t2.40\t0.30\t-0.05\t2\t" + Shown(110));
  // Free mode: 02 is in every draw, at 8/20 a draw.
  EXPECT_EQ(Lines({"stats", "--type", "number", "--from", Shown(101)})[2],
            "02\t15\t6.00\t100.00%\t1\t1\t1\t1\t1.00\t1.00\t0.40\t0.00\t15\t" + Shown(101));
  // Every draw holds four odd numbers; C(10, 4)² of the C(20, 8) sets do.
  EXPECT_EQ(Lines({"stats", "--type", "odd-even", "--from", Shown(101)})[5],
            "4:4\t15\t5.25\t100.00%\t1\t1\t1\t1\t1.00\t1.00\t0.35\t0.00\t15\t" + Shown(101));
}

TEST_F(AnalysisCliTest, TrendCountsOverTheWholeHistory) {
  const std::vector<std::string> lines =
      Lines({"trend", "--type", "number", "--mode", "fixed", "--position", "1", "--last", "3"});
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_THAT(lines[0], ::testing::StartsWith("期号\t01\t02\t03"));
  EXPECT_THAT(lines[1], ::testing::StartsWith(Shown(113) + "\t01\t113\t113\t"));
  EXPECT_THAT(lines[3], HasSubstr("\t115\t115\t5\t115\t"));  // 06, 07, 08
  // 重号: 8 since idx 112; 7 last at idx 111 (after a draw starting with 7);
  // 0..6 never, and the first draw has no previous draw.
  std::string repeats = Shown(115);
  for (int box = 0; box <= 6; ++box) repeats += "\t115";
  EXPECT_EQ(Lines({"trend", "--type", "repeat", "--last", "1"})[1], repeats + "\t4\t8");
  // --last beyond the range shows the whole range.
  EXPECT_EQ(Lines({"trend", "--type", "tens", "--from", Shown(110), "--last", "99"}).size(), 7u);
}

TEST_F(AnalysisCliTest, ExportWritesTheWorkbookOfEachView) {
  for (const auto& [command, file] : std::vector<std::pair<std::string, std::string>>{
           {"stats", "Tongji.xls"}, {"trend", "Zoushi.xls"}}) {
    const CliResult result = cli_.Run({command, "--type", "zodiac", "--export"});
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_THAT(result.err, HasSubstr(file));
    EXPECT_EQ(OutputLines(result.out).size(), command == "stats" ? 13u : 116u);
    const auto extent = testing::ReadWorkbook(cli_.dataFolder() / file).Extent();
    EXPECT_EQ(extent, std::make_pair(command == "stats" ? 13 : 116, command == "stats" ? 14 : 13))
        << command;
  }
}

TEST_F(AnalysisCliTest, RefusedArguments) {
  ExpectCliCases(cli_,
                 {
                     {{"stats", "--type", "number", "--mode", "fixed"}, 2, ""},
                     {{"stats", "--type", "number", "--mode", "fixed", "--position", "0"}, 2, ""},
                     {{"trend", "--type", "number", "--mode", "fixed", "--position", "9"}, 2, ""},
                     {{"stats", "--type", "number", "--mode", "fixed", "--position", "x"}, 2, ""},
                     {{"stats", "--type", "number", "--position", "3"}, 2, ""},
                     {{"stats", "--type", "colour"}, 2, ""},
                     {{"stats", "--type", "span", "--mode", "fixed", "--position", "1"}, 2, ""},
                     {{"trend", "--type", "repeat", "--position", "1"}, 2, ""},
                     {{"stats", "--type", "number", "--mode", "both"}, 2, ""},
                     {{"trend", "--type", "number", "--last", "-1"}, 2, ""},
                     {{"stats", "--type", "number", "--from", "abc"}, 1, ""},
                     {{"trend", "--type", "number", "--to", "14x"}, 1, ""},
                 });
}

}  // namespace
}  // namespace zs
