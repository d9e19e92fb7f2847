// End-to-end runs of `zephyrstat-cli update` against results pages served on
// 127.0.0.1: the project's results-server, a server that never answers, a
// refused connection and an HTTP error.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/draw.h"
#include "core/issue_number.h"
#include "tests/support/cli_runner.h"
#include "tests/support/results_server.h"
#include "tests/support/test_draws.h"
#include "tools/history_generator.h"

namespace zs {
namespace {

const std::filesystem::path kServerScript =
    std::filesystem::path(ZS_SOURCE_DIR) / "scripts" / "results-server";

// The history grid's text of January's draws `first` to `last`, as `list`
// prints it.
std::string ListText(const std::vector<Draw>& draws, int32_t first, int32_t last) {
  std::string text = "期号\t第1码\t第2码\t第3码\t第4码\t第5码\t第6码\t第7码\t第8码\n";
  for (const Draw& draw : draws) {
    if (draw.issue < first || draw.issue > last) continue;
    text += ShownIssue(draw.issue, false);
    for (int number : draw.numbers) text += '\t' + std::to_string(number);
    text += '\n';
  }
  return text;
}

// Every draw of 1 to 16 January 2014 is on the results page; the tests run
// as of the 16th, when six days are kept.
class UpdateCliTest : public ::testing::Test {
 protected:
  UpdateCliTest() { WriteFileBytes(page_, HistoryFileText(january_, false)); }

  // Imports January's draws `first` to `last` as the history.
  void Import(int32_t first, int32_t last) {
    std::vector<Draw> part;
    for (const Draw& draw : january_) {
      if (draw.issue >= first && draw.issue <= last) part.push_back(draw);
    }
    ASSERT_TRUE(ImportHistory(cli_, "0", HistoryFileText(part, false)));
  }
  std::vector<std::string> Update(const std::string& urlTemplate) const {
    return {"update", "--today", "2014-01-16", "--url", urlTemplate};
  }
  std::string List() const { return cli_.Run({"list"}).out; }

  CliRunner cli_{ZS_CLI_PATH};
  const std::vector<Draw> january_ = testing::EveryDrawOfTheDays({2014, 1, 1}, {2014, 1, 16});
  const std::filesystem::path page_ = cli_.root() / "gd.txt";
};

TEST_F(UpdateCliTest, AnEmptyHistoryGetsTheDaysKeptInEitherPageOrder) {
  ASSERT_EQ(cli_.Run({"settings", "GsZl", "0"}).exitStatus, 0);
  for (const char* order : {"newest-first", "oldest-first"}) {
    SCOPED_TRACE(order);
    ASSERT_EQ(cli_.Run({"clear"}).exitStatus, 0);
    testing::ResultsServer server(kServerScript, page_, {"--order", order});
    const std::string address = "http://127.0.0.1:" + std::to_string(server.port()) + "/gd/?n=588";
    ExpectCliCases(cli_, {{Update(server.UrlTemplate()), 0,
                           "added\t588\nfirst\t2014011001\nlast\t2014011684\naddress\t" + address +
                               "\ndropped\t0\nunreadable\t0\n"}});
    // The page's script and style hold the newest issue with other numbers.
    EXPECT_EQ(List(), ListText(january_, 14011001, 14011684));
  }
}

TEST_F(UpdateCliTest, ContinuesAfterTheLastStoredDrawOrReplacesATooOldHistory) {
  testing::ResultsServer server(kServerScript, page_);
  Import(14011201, 14011584);
  std::vector<std::string> json = Update(server.UrlTemplate());
  json.insert(json.begin(), "--json");
  const CliResult result = cli_.Run(json);
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_THAT(result.out, ::testing::StartsWith(R"({"added":"84","address":")"));
  EXPECT_THAT(result.out, ::testing::HasSubstr(R"("first":"2014011601")"));
  EXPECT_EQ(List(), ListText(january_, 14011201, 14011684));
  // Nothing new: nothing added, nothing changed.
  EXPECT_THAT(cli_.Run(Update(server.UrlTemplate())).out, ::testing::StartsWith("added\t0\n"));
  EXPECT_EQ(List(), ListText(january_, 14011201, 14011684));

  Import(14010901, 14010984);  // seven days old on the 16th
  EXPECT_THAT(cli_.Run(Update(server.UrlTemplate())).out, ::testing::HasSubstr("\ndropped\t84\n"));
  EXPECT_EQ(List(), ListText(january_, 14011001, 14011684));
}

// Every failure exits 1 with its message on stderr, prints nothing on stdout
// and keeps the history (old enough for the age check: a failure must not
// drop it either); bad arguments exit 2.
TEST_F(UpdateCliTest, FailuresChangeNothing) {
  Import(14010101, 14010184);
  const std::string before = List();
  testing::ResultsServer server(kServerScript, page_);
  testing::ResultsServer bomb(kServerScript, page_, {"--gzip-bomb", "40"});
  testing::SilentServer silent;
  const std::string served = "http://127.0.0.1:" + std::to_string(server.port());
  std::vector<std::string> timeLimit = Update(testing::UrlTemplateForPort(silent.port()));
  timeLimit.insert(timeLimit.end(), {"--timeout", "1"});
  ExpectCliCases(
      cli_,
      {
          {Update(testing::UrlTemplateForPort(testing::ClosedPort())), 1, "", "无法读取结果页"},
          {Update(served + "/nowhere/{code}?n={n}"), 1, "", "HTTP 404"},
          {Update(served + "/{code}/?n=0&m={n}"), 1, "", "没有找到开奖号码"},
          {Update(bomb.UrlTemplate()), 1, "", "结果页过大（超过 32 MB）"},
          {timeLimit, 1, "", "1 秒内没有应答"},
          // The saved time limit applies when the run gives none.
          {{"settings", "FetchTimeout", "1"}, 0, "键\t值\nFetchTimeout\t1\n"},
          {Update(testing::UrlTemplateForPort(silent.port())), 1, "", "1 秒内没有应答"},
          {{"update", "--today", "2014-02-30"}, 2, ""},
          {{"update", "--today", "16.01.2014"}, 2, ""},
          {{"update", "--today", "4200-01-01"}, 2, ""},  // issues have a two-digit year
          {{"update", "--today", "2100-01-01"}, 2, ""},
          {{"update", "--url", "ftp://127.0.0.1/{code}?n={n}"}, 2, ""},
          {{"update", "--timeout", "0"}, 2, ""},
          {{"settings", "GsZl", "556"}, 0, "键\t值\nGsZl\t556\n"},
          {Update(server.UrlTemplate()), 1, "", "请先在“设置 → 彩种选择”中选择彩种"},
      });
  EXPECT_EQ(List(), before);
}

}  // namespace
}  // namespace zs
