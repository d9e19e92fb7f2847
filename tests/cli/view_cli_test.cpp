// End-to-end runs of zephyrstat-cli's stats and trend on a worked example,
// and the arguments they refuse.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/draw.h"
#include "core/issue_number.h"
#include "tests/support/cli_runner.h"
#include "tests/support/test_draws.h"
#include "tests/support/workbook_reader.h"
#include "tools/history_generator.h"

namespace zs {
namespace {

using ::testing::HasSubstr;

// 115 draws; those with idx 101, 104, 105 and 110 start with 7, the others
// with 1; positions 2..8 always hold 2 3 4 5 6 8 9.
class ViewCliTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(ImportHistory(cli_, "0", HistoryFileText(draws_, false))); }
  std::vector<std::string> Lines(const std::vector<std::string>& args) {
    const CliResult result = cli_.Run(args);
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    return OutputLines(result.out);
  }
  std::string Shown(int idx) const { return ShownIssue(draws_[size_t(idx - 1)].issue, false); }

  CliRunner cli_{ZS_CLI_PATH};
  const std::vector<Draw> draws_ = testing::SevensExample(115, {101, 104, 105, 110});
};

TEST_F(ViewCliTest, StatsOfTheFirstPosition) {
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

TEST_F(ViewCliTest, TrendCountsOverTheWholeHistory) {
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

TEST_F(ViewCliTest, ExportWritesTheWorkbookOfEachView) {
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

TEST_F(ViewCliTest, RefusedArguments) {
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
