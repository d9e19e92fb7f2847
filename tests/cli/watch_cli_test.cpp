// End-to-end runs of zephyrstat-cli's watch commands and of the alerts that
// `add` prints, in a temporary data folder and settings.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/draw.h"
#include "tests/support/cli_runner.h"
#include "tests/support/test_draws.h"
#include "tools/history_generator.h"

namespace zs {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

const std::string kHeading =
    "编号\t名称\t内容\t条件\t出现次数\t最大遗漏\t最后遗漏\t平均遗漏\t欲出几率\t状态";

class WatchCliTest : public ::testing::Test {
 protected:
  // 30 draws; those with idx 10 and 20 start with 7.
  void SetUp() override {
    const std::vector<Draw> draws = testing::SevensExample(30, {10, 20});
    ASSERT_TRUE(ImportHistory(cli_, "0", HistoryFileText(draws, false)));
  }

  CliRunner cli_{ZS_CLI_PATH};
};

TEST_F(WatchCliTest, AddRemoveAndTheirRefusals) {
  const std::vector<std::string> kSearch = {"watch",  "add",    "search", "--type",
                                            "number", "--mode", "fixed"};
  const auto search = [&](std::vector<std::string> more) {
    std::vector<std::string> args = kSearch;
    args.insert(args.end(), more.begin(), more.end());
    return args;
  };
  ExpectCliCases(
      cli_, {
                {search({"--pos", "1=7", "--when", "last>=12", "--name", "七"}), 0, "number\t1\n"},
                {{"watch", "add", "partial", "--type", "0", "--mode", "free", "--k", "2",
                  "--values", "1,2,3,4,5,6,7,8", "--when", "ratio>=1.5"},
                 0,
                 "number\t2\n"},
                {{"watch", "add", "combination", "--type", "number", "--items", "07,01", "--when",
                  "record"},
                 0,
                 "number\t3\n"},
                {{"watch", "add", "combination", "--type", "number", "--items", "07,7", "--when",
                  "record"},
                 1,
                 "",
                 "\"7\""},
                {{"watch", "add", "combination", "--type", "units", "--items", "1,2,3,4,5,6,7",
                  "--when", "record"},
                 2,
                 "",
                 "--items"},
                {{"watch", "add", "partial", "--type", "0", "--mode", "free", "--k", "2", "--when",
                  "record"},
                 2,
                 "",
                 "--values"},
                {search({"--pos", "1=7", "--when", "last>=x"}), 2, "", "--when"},
                {search({"--pos", "1=7"}), 2, "", "--when"},
                {search({"--pos", "9=7", "--when", "record"}), 2, "", "--pos"},
                {search({"--items", "07", "--when", "record"}), 2, "", "--items"},
                {{"watch", "remove", "9"}, 1, "", "9"},
                {{"watch", "remove", "x"}, 2, "", "N"},
                {{"watch", "remove", "2"}, 0, "removed\t2\n"},
                {{"watch", "remove", "2"}, 1, "", "2"},
                {{"watch"}, 2, "", ""},
            });
  // A refused add stored nothing; the removed number is not given again.
  EXPECT_EQ(cli_.Run(search({"--when", "record"})).out, "number\t4\n");
  EXPECT_EQ(OutputLines(cli_.Run({"watch", "list"}).out).size(), 4u);
}

TEST_F(WatchCliTest, ListCheckAndTheAlertOfAnAddedDraw) {
  ASSERT_EQ(cli_.Run({"watch", "add", "search", "--type", "number", "--mode", "fixed", "--pos",
                      "1=7", "--when", "last>=12", "--name", "七"})
                .exitStatus,
            0);
  ASSERT_EQ(cli_.Run({"watch", "add", "combination", "--type", "number", "--items", "07,02",
                      "--when", "ratio>=1.1"})
                .exitStatus,
            0);
  // Hits at idx 10 and 20 of 30: mean 10, last 11, so ratio>=1.1 holds.
  const std::string seven = "\t号码 固定位 第1位07\tlast>=12\t2\t10\t11\t10.00\t1.10\t";
  const std::string pair = "2\t\t号码 组合 02 07\tratio>=1.1\t2\t10\t11\t10.00\t1.10\t提醒";
  EXPECT_THAT(OutputLines(cli_.Run({"watch", "list"}).out),
              ElementsAre(kHeading, "1\t七" + seven, pair));
  EXPECT_THAT(OutputLines(cli_.Run({"watch", "check"}).out), ElementsAre(kHeading, pair));
  const CliResult json = cli_.Run({"--json", "watch", "check"});
  EXPECT_THAT(json.out, HasSubstr("\"rows\":[[\"2\",\"\",\"号码 组合 02 07\""));

  // The next draw makes 最后遗漏 12: the first watch fires, once.
  const CliResult added = cli_.Run({"add", "1", "2", "3", "4", "5", "6", "8", "9"});
  ASSERT_EQ(added.exitStatus, 0) << added.err;
  EXPECT_THAT(OutputLines(added.out),
              ElementsAre(HasSubstr("stored"), HasSubstr("next"), "提醒\t1\t七\t12"));
  EXPECT_EQ(OutputLines(cli_.Run({"add", "1", "2", "3", "4", "5", "6", "8", "9"}).out).size(), 2u);
  EXPECT_THAT(
      OutputLines(cli_.Run({"watch", "check"}).out),
      ElementsAre(kHeading, "1\t七\t号码 固定位 第1位07\tlast>=12\t2\t10\t13\t10.00\t1.30\t提醒",
                  HasSubstr("2\t\t号码 组合 02 07")));
}

}  // namespace
}  // namespace zs
