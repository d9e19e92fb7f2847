// What an analysis reads before it touches the history: the chosen issue
// whose pattern a search takes (the window's tab "历史指定期" and the tool's
// --pattern-of alike), and the range boxes, which an empty history refuses
// whatever they hold.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "analysis/box_view.h"
#include "analysis/draw_pattern.h"
#include "analysis/group_calculation.h"
#include "analysis/omission_distribution.h"
#include "analysis/partial_search.h"
#include "analysis/position_search.h"
#include "core/errors.h"

namespace zs {
namespace {

HistoryIndex IndexOfIssues(const std::vector<int32_t>& issues) {
  std::vector<HistoryRow> rows;
  for (int32_t issue : issues) {
    HistoryRow row;
    row.idx = int32_t(rows.size() + 1);
    row.issue = issue;
    rows.push_back(row);
  }
  return HistoryIndex(rows);
}

std::string RefusalOf(const std::function<void()>& read) {
  try {
    read();
  } catch (const InputError& error) {
    return error.what();
  }
  return "";
}

// The issue a text names, or the nearest stored one before it; or the
// refusal, which says why.
TEST(ChosenIssueDrawTest, NamesTheIssueOrTheNearestOneBeforeOrSaysWhyNot) {
  // Two-digit issues, then three-digit ones of an edition chosen later.
  const HistoryIndex index = IndexOfIssues({13010101, 13010102, 13010201, 130103001});
  const std::vector<std::pair<const char*, size_t>> chosen = {
      {"2013010101", 0},  {"2013010102", 1},  {" 2013010150 ", 1}, {"2013010201", 2},
      {"20130103001", 3}, {"20130102999", 2}, {"013010102", 1},    {"20991231084", 3},
  };
  for (const auto& [text, draw] : chosen) EXPECT_EQ(ChosenIssueDraw(index, text), draw) << text;
  const std::vector<std::pair<const char*, const char*>> refused = {
      {"", "不是数字"},
      {"abc", "“abc”的最后九个字符不是数字"},
      {"2013x10102", "不是数字"},
      {"2012123184", "“2012123184”早于第一期"},
      {"120130101010", "不是 2000 至 2099 年的期号"},
  };
  for (const auto& [text, says] : refused) {
    const std::string refusal = RefusalOf([&index, text = text] { ChosenIssueDraw(index, text); });
    EXPECT_NE(refusal.find(says), std::string::npos) << text;
  }
  EXPECT_NE(RefusalOf([] { ChosenIssueDraw(HistoryIndex(), "2013010101"); }).find("历史号码为空"),
            std::string::npos);
}

// Every analysis and view over an empty history says it is empty, with
// range boxes that hold issues as with the empty boxes such a history leaves.
TEST(EmptyHistoryTest, EveryAnalysisSaysTheHistoryIsEmpty) {
  const HistoryIndex empty;
  for (const char* box : {"", "2013010101"}) {
    SCOPED_TRACE(box);
    PositionSearchRequest position;
    position.startBox = position.endBox = box;
    PartialSearchRequest partial;
    partial.startBox = partial.endBox = box;
    BoxViewRequest view;
    view.startBox = view.endBox = box;
    GroupRequest group;
    group.checkedBoxes = {1, 2, 3};
    group.startBox = group.endBox = box;
    const std::function<void()> analyses[] = {
        [&] { RunPositionSearch(empty, position); },
        [&] { RunPartialSearch(empty, partial); },
        [&] { BoxView(std::make_shared<const HistoryIndex>(empty), view); },
        [&] { CombinationHits(empty, SearchType::kNumber, PanelBases{}, "01", box, box); },
        [&] { ComputeGroupRows(empty, group); },
    };
    for (const auto& analysis : analyses) {
      EXPECT_NE(RefusalOf(analysis).find("历史号码为空"), std::string::npos);
    }
  }
  // A history with draws still names the box that holds no issue.
  EXPECT_NE(RefusalOf([] {
              LocateRangeBoxes(IndexOfIssues({13010101}), "x", "2013010101");
            }).find("最后九个字符不是数字"),
            std::string::npos);
}

}  // namespace
}  // namespace zs
