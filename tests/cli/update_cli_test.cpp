// End-to-end runs of `zephyrstat-cli update` against results pages served on
// 127.0.0.1: the project's results-server, a server that never answers, a
// refused connection and an HTTP error.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/draw.h"
#include "core/issue_number.h"
#include "tests/support/cli_runner.h"
#include "tests/support/results_server.h"
#include "tools/history_generator.h"

namespace zs {
namespace {

using testing::ClosedPort;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using testing::ResultsServer;
using testing::SilentServer;
using testing::UrlTemplateForPort;

const std::filesystem::path kServerScript =
    std::filesystem::path(ZS_SOURCE_DIR) / "scripts" / "results-server";

// Every draw of 1 to 16 January 2014, 84 a day, none missing.
std::vector<Draw> January() {
  GeneratorOptions options;
  options.first = {2014, 1, 1};
  options.last = {2014, 1, 16};
  options.drawsPerDay = 84;
  options.threeDigit = false;
  options.missingRate = 0;
  options.springFestivalBreak = false;
  options.seed = 7;
  return GenerateHistory(options);
}

std::vector<Draw> Between(const std::vector<Draw>& draws, int32_t first, int32_t last) {
  std::vector<Draw> part;
  std::copy_if(draws.begin(), draws.end(), std::back_inserter(part),
               [&](const Draw& draw) { return draw.issue >= first && draw.issue <= last; });
  return part;
}

// The history grid's text, heading first, as `list` prints it.
std::vector<std::string> ListLines(const std::vector<Draw>& draws) {
  std::vector<std::string> lines = {"期号\t第1码\t第2码\t第3码\t第4码\t第5码\t第6码\t第7码\t第8码"};
  for (const Draw& draw : draws) {
    std::string line = ShownIssue(draw.issue, false);
    for (int number : draw.numbers) line += '\t' + std::to_string(number);
    lines.push_back(line);
  }
  return lines;
}

class UpdateCliTest : public ::testing::Test {
 protected:
  UpdateCliTest() : cli_(ZS_CLI_PATH), january_(January()) {
    WriteFileBytes(cli_.root() / "gd.txt", HistoryFileText(january_, false));
  }

  CliResult Run(const std::vector<std::string>& args) { return cli_.Run(args); }

  void ChooseGuangdong() { ASSERT_EQ(Run({"settings", "GsZl", "0"}).exitStatus, 0); }

  // Stores `draws` as the history through the import.
  void Import(const std::vector<Draw>& draws) {
    const std::filesystem::path file = cli_.root() / "before.txt";
    WriteFileBytes(file, HistoryFileText(draws, false));
    ASSERT_EQ(Run({"import", file.string()}).exitStatus, 0);
  }

  std::vector<std::string> List() { return OutputLines(Run({"list"}).out); }

  CliResult Update(const std::string& urlTemplate, std::vector<std::string> more = {}) {
    std::vector<std::string> args = {"update", "--today", "2014-01-16", "--url", urlTemplate};
    args.insert(args.end(), more.begin(), more.end());
    return Run(args);
  }

  CliRunner cli_;
  std::vector<Draw> january_;
};

TEST_F(UpdateCliTest, EmptyHistoryGetsTheDaysKeptInEitherPageOrder) {
  for (const char* order : {"newest-first", "oldest-first"}) {
    SCOPED_TRACE(order);
    ASSERT_EQ(Run({"clear"}).exitStatus, 0);
    ChooseGuangdong();
    ResultsServer server(kServerScript, cli_.root() / "gd.txt", {"--order", order});
    const CliResult result = Update(server.UrlTemplate());
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    const std::string address = "http://127.0.0.1:" + std::to_string(server.port()) + "/gd/?n=588";
    EXPECT_THAT(OutputLines(result.out),
                ElementsAreArray(std::vector<std::string>{"added\t588", "first\t2014011001",
                                                          "last\t2014011684", "address\t" + address,
                                                          "dropped\t0", "unreadable\t0"}));
    // The page's script and style hold the newest issue with other numbers.
    EXPECT_THAT(List(), ElementsAreArray(ListLines(Between(january_, 14011001, 14011684))));
  }
}

TEST_F(UpdateCliTest, ContinuesAfterTheLastStoredDraw) {
  ChooseGuangdong();
  Import(Between(january_, 14011201, 14011584));
  ResultsServer server(kServerScript, cli_.root() / "gd.txt");
  const CliResult result =
      Run({"--json", "update", "--today", "2014-01-16", "--url", server.UrlTemplate()});
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_THAT(result.out, HasSubstr("\"added\":\"84\""));
  EXPECT_THAT(result.out, HasSubstr("\"first\":\"2014011601\""));
  EXPECT_THAT(List(), ElementsAreArray(ListLines(Between(january_, 14011201, 14011684))));

  // Nothing new: nothing added, nothing changed.
  const CliResult again = Update(server.UrlTemplate());
  ASSERT_EQ(again.exitStatus, 0) << again.err;
  EXPECT_THAT(again.out, HasSubstr("added\t0"));
  EXPECT_THAT(List(), ElementsAreArray(ListLines(Between(january_, 14011201, 14011684))));
}

TEST_F(UpdateCliTest, TooOldHistoryIsReplacedOnceThePageHasArrived) {
  ChooseGuangdong();
  Import(Between(january_, 14010901, 14010984));  // seven days old on the 16th
  ResultsServer server(kServerScript, cli_.root() / "gd.txt");
  const CliResult result = Update(server.UrlTemplate());
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_THAT(result.out, HasSubstr("dropped\t84"));
  EXPECT_THAT(List(), ElementsAreArray(ListLines(Between(january_, 14011001, 14011684))));
}

class FailedUpdateTest : public UpdateCliTest {
 protected:
  void SetUp() override {
    ChooseGuangdong();
    // Old enough for the age check: a failure must not drop it either.
    Import(Between(january_, 14010101, 14010184));
    before_ = List();
    ASSERT_EQ(before_.size(), 85u);
  }

  void ExpectFailure(const CliResult& result, const std::string& message) {
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_THAT(result.err, HasSubstr(message));
    EXPECT_TRUE(result.out.empty()) << result.out;
    EXPECT_EQ(List(), before_);
  }

  std::vector<std::string> before_;
};

TEST_F(FailedUpdateTest, RefusedConnection) {
  ExpectFailure(Update(UrlTemplateForPort(ClosedPort())), "无法读取结果页");
}

TEST_F(FailedUpdateTest, HttpError) {
  ResultsServer server(kServerScript, cli_.root() / "gd.txt");
  ExpectFailure(
      Update("http://127.0.0.1:" + std::to_string(server.port()) + "/nowhere/{code}?n={n}"),
      "HTTP 404");
}

TEST_F(FailedUpdateTest, PageWithoutDraws) {
  ResultsServer server(kServerScript, cli_.root() / "gd.txt");
  ExpectFailure(Update("http://127.0.0.1:" + std::to_string(server.port()) + "/{code}/?n=0&m={n}"),
                "没有找到开奖号码");
}

TEST_F(FailedUpdateTest, GzipBombIsRefusedAsTooLarge) {
  ResultsServer server(kServerScript, cli_.root() / "gd.txt", {"--gzip-bomb", "40"});
  ExpectFailure(Update(UrlTemplateForPort(server.port())), "结果页过大（超过 32 MB）");
}

TEST_F(FailedUpdateTest, ServerThatNeverAnswersMeetsTheTimeLimit) {
  SilentServer silent;
  ExpectFailure(Update(UrlTemplateForPort(silent.port()), {"--timeout", "1"}), "1 秒内没有应答");
  // The saved time limit applies when the run gives none.
  ASSERT_EQ(Run({"settings", "FetchTimeout", "1"}).exitStatus, 0);
  ExpectFailure(Update(UrlTemplateForPort(silent.port())), "1 秒内没有应答");
}

TEST_F(FailedUpdateTest, NoEditionChosen) {
  ASSERT_EQ(Run({"settings", "GsZl", "556"}).exitStatus, 0);
  ResultsServer server(kServerScript, cli_.root() / "gd.txt");
  ExpectFailure(Update(server.UrlTemplate()), "请先在“设置 → 彩种选择”中选择彩种");
}

TEST_F(FailedUpdateTest, BadArgumentsAreUsageErrors) {
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"update", "--today", "2014-02-30"},
           {"update", "--today", "16.01.2014"},
           {"update", "--today", "4200-01-01"},  // issues have a two-digit year
           {"update", "--today", "2100-01-01"},
           {"update", "--url", "ftp://127.0.0.1/{code}?n={n}"},
           {"update", "--timeout", "0"},
       }) {
    SCOPED_TRACE(args[2]);
    const CliResult result = Run(args);
    EXPECT_EQ(result.exitStatus, 2);
    EXPECT_FALSE(result.err.empty());
    EXPECT_EQ(List(), before_);
  }
}

}  // namespace
}  // namespace zs
