// Group calculation and the omission table YL: combination counts and
// order, labels of every type, the size limits (refused before YL changes),
// hidden boxes, the zodiac and segment bases, the stored single ratio, the
// sorted table and the column keys; joining the counts of two halves of a
// range; and the selection panel.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/group_calculation.h"
#include "analysis/omission.h"
#include "analysis/result_grids.h"
#include "analysis/selection_panel.h"
#include "core/issue_number.h"
#include "tests/support/analysis_histories.h"
#include "tests/support/derivation_rules.h"
#include "tests/support/temp_folder.h"

namespace zs {
namespace {

using testing::AnalysisHistory;
using testing::Rules;

class GroupTest : public ::testing::Test {
 protected:
  void Build(int zodiacBase = 1, int segmentBase = 1, int draws = 200) {
    history_ = testing::MakeAnalysisHistory(testing::RandomDraws(7, draws, 0),
                                            Rules(zodiacBase, segmentBase));
  }
  GroupRequest Request(SearchType type, std::vector<int> boxes, int size) {
    GroupRequest request;
    request.type = type;
    request.checkedBoxes = std::move(boxes);
    request.groupSize = size;
    request.startBox = ShownIssue(history_.index.Issue(0), false);
    request.endBox = ShownIssue(history_.index.Issue(history_.index.DrawCount() - 1), false);
    return request;
  }
  std::vector<OmissionRecord> Stored() {
    return LoadOmissionRecords(*history_.store, OmissionSortKey::kLast);
  }
  static std::vector<int> Boxes(int from, int to) {
    std::vector<int> boxes;
    for (int box = from; box <= to; ++box) boxes.push_back(box);
    return boxes;
  }
  AnalysisHistory history_;
};

TEST_F(GroupTest, CombinationCountsAndLimits) {
  Build();
  struct Case {
    int size, boxes;
    size_t rows;
  };
  for (const Case& c : {Case{1, 20, 20}, Case{4, 20, 4845}, Case{5, 18, 8568}, Case{6, 16, 8008},
                        Case{3, 3, 1}, Case{3, 2, 0}, Case{0, 20, 0}, Case{7, 10, 0}}) {
    const auto rows = RunGroupCalculation(
        history_.index, Request(SearchType::kNumber, Boxes(1, c.boxes), c.size), *history_.store);
    EXPECT_EQ(rows.size(), c.rows) << c.size << " of " << c.boxes;
    EXPECT_EQ(Stored().size(), c.rows);
  }
}

TEST_F(GroupTest, RefusedSizeLeavesTheTableAsItWas) {
  Build();
  RunGroupCalculation(history_.index, Request(SearchType::kNumber, {3, 7, 12}, 2), *history_.store);
  const std::vector<OmissionRecord> before = Stored();
  ASSERT_EQ(before.size(), 3u);
  struct Case {
    int size, boxes;
    const char* message;
  };
  for (const Case& c : {Case{6, 17, "6个分组请选择16个（含）以内的个数的号码"},
                        Case{5, 19, "5个分组请选择18个（含）以内的个数的号码"},
                        Case{5, 20, "5个分组请选择18个（含）以内的个数的号码"}}) {
    try {
      RunGroupCalculation(history_.index, Request(SearchType::kNumber, Boxes(1, c.boxes), c.size),
                          *history_.store);
      ADD_FAILURE() << "not refused: " << c.size << " of " << c.boxes;
    } catch (const GroupSizeRefusal& refusal) {
      EXPECT_STREQ(refusal.what(), c.message);
    }
    EXPECT_EQ(Stored(), before);
  }
  // Boxes above the type's count do not count towards the limit.
  EXPECT_EQ(RunGroupCalculation(history_.index, Request(SearchType::kSum, Boxes(1, 20), 6),
                                *history_.store)
                .size(),
            1716u);  // C(13, 6)
}

TEST_F(GroupTest, NonNumericRangeBoxLeavesTheTableAsItWas) {
  Build();
  RunGroupCalculation(history_.index, Request(SearchType::kNumber, {3, 7}, 1), *history_.store);
  GroupRequest request = Request(SearchType::kNumber, Boxes(1, 5), 2);
  request.startBox = "20140101x1";
  EXPECT_THROW(RunGroupCalculation(history_.index, request, *history_.store), InputError);
  EXPECT_EQ(Stored().size(), 2u);
}

TEST_F(GroupTest, RowsComeInEnumerationOrderWithTheirLabels) {
  Build(1, 1);
  struct Case {
    SearchType type;
    std::vector<int> boxes;
    int size;
    std::vector<std::string> labels;
  };
  const std::vector<Case> cases = {
      {SearchType::kNumber, {12, 3, 7}, 2, {"03 07", "03 12", "07 12"}},
      {SearchType::kUnits, {1, 10}, 2, {"0 9"}},
      {SearchType::kZodiac, {1, 12}, 2, {"鼠 猪"}},
      {SearchType::kTens, {1, 2, 3}, 3, {"0 1 2"}},
      {SearchType::kSum, {9, 10, 11}, 1, {"09", "10", "11"}},
      {SearchType::kSegment, {1, 5, 7, 9}, 2, {"1 5", "1 7", "5 7"}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> labels;
    for (const OmissionRecord& row :
         ComputeGroupRows(history_.index, Request(c.type, c.boxes, c.size))) {
      labels.push_back(row.content);
    }
    EXPECT_EQ(labels, c.labels) << static_cast<int>(c.type);
  }
}

TEST_F(GroupTest, HiddenBoxesStandForValuesNoDrawCarries) {
  Build();
  const int newest = static_cast<int>(history_.index.DrawCount());
  for (const auto& [type, box] :
       std::vector<std::pair<SearchType, int>>{{SearchType::kTens, 4},
                                               {SearchType::kTens, 5},
                                               {SearchType::kSum, 11},
                                               {SearchType::kSum, 13},
                                               {SearchType::kSegment, 6},
                                               {SearchType::kSegment, 7}}) {
    const auto rows = ComputeGroupRows(history_.index, Request(type, {box}, 1));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].smallest, 32767);
    EXPECT_EQ(rows[0].largest, 32767);
    EXPECT_EQ(rows[0].last, newest + 1);
  }
}

TEST_F(GroupTest, BaseZeroGivesEveryValueABox) {
  Build(0, 0);
  // Under base 0 the values 0 are carried by draws; box 1 stands for them.
  for (SearchType type : {SearchType::kZodiac, SearchType::kSegment}) {
    const auto rows = ComputeGroupRows(history_.index, Request(type, {1}, 1));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_LT(rows[0].largest, 100) << static_cast<int>(type);
  }
  GroupRequest request = Request(SearchType::kSegment, {1, 5}, 2);
  request.bases = {0, 0};
  EXPECT_EQ(ComputeGroupRows(history_.index, request)[0].content, "0 4");
  EXPECT_EQ(BoxCaption(SearchType::kZodiac, 1, {0, 0}), "鼠");
  EXPECT_EQ(BoxCaption(SearchType::kZodiac, 12, {0, 0}), "猪");
  EXPECT_EQ(BoxValue(SearchType::kZodiac, 12, {0, 0}), 11);
  EXPECT_EQ(BoxValue(SearchType::kZodiac, 12, {1, 1}), 12);
  EXPECT_EQ(BoxCaption(SearchType::kZodiac, 1, {1, 1}), "鼠");
  EXPECT_EQ(BoxValue(SearchType::kSegment, 1, {0, 0}), 0);
  EXPECT_EQ(BoxCaption(SearchType::kSegment, 5, {0, 0}), "4");
  EXPECT_EQ(BoxCaption(SearchType::kSegment, 5, {1, 1}), "5");
}

TEST_F(GroupTest, StartIssueNotStoredIsNoFailure) {
  Build();
  GroupRequest request = Request(SearchType::kNumber, {1, 2}, 1);
  request.startBox = "2014010100";  // before the first draw, not stored
  const auto rows = ComputeGroupRows(history_.index, request);
  ASSERT_EQ(rows.size(), 2u);
}

TEST_F(GroupTest, TableIsSortedByTheKeyAndShowsTheSingleRatio) {
  Build();
  const std::vector<OmissionRecord> rows = {{"a", 3, 9, 2, 4.5f},
                                            {"b", 1, 5, 6, 5.0f / 6.0f},
                                            {"c", 2, 7, 6, 7.0f / 6.0f},
                                            {"d", 32767, 32767, 3, 32767.0f / 3.0f}};
  ReplaceOmissionRecords(*history_.store, rows);
  auto order = [&](OmissionSortKey key) {
    std::string labels;
    const std::vector<OmissionRecord> loaded = LoadOmissionRecords(*history_.store, key);
    EXPECT_EQ(SortOmissionRecords(rows, key), loaded);
    for (const auto& row : loaded) labels += row.content;
    return labels;
  };
  EXPECT_EQ(order(OmissionSortKey::kSmallest), "bcad");
  EXPECT_EQ(order(OmissionSortKey::kLargest), "bcad");
  EXPECT_EQ(order(OmissionSortKey::kLast), "adbc");  // equal keys in stored order
  EXPECT_EQ(order(OmissionSortKey::kRatio), "bcad");
  const Grid grid =
      OmissionTableGrid(LoadOmissionRecords(*history_.store, OmissionSortKey::kSmallest));
  EXPECT_EQ(grid.Headings(), (std::vector<std::string>{"号码（分组）", "最小遗漏", "最大遗漏",
                                                       "最后遗漏", "大后比"}));
  EXPECT_EQ(grid.Cell(0, 4), "0.8333333");
  EXPECT_EQ(grid.Cell(2, 4), "4.5");
  EXPECT_EQ(grid.Cell(3, 4), "10922.33");
  ReplaceOmissionRecords(*history_.store, {});
  EXPECT_EQ(OmissionTableGrid(Stored()).RowCount(), 0u);
}

// Another program stores its group table right after this calculation's
// change has ended: the table returned is still the one this one stored.
TEST(GroupTableTest, IsTheTableThisCalculationStored) {
  testing::TempFolder folder;
  auto store = HistoryStore::OpenFolder(folder.path());
  store->ReplaceAllDraws(testing::RandomDraws(7, 200, 0), Rules(1, 1));
  const PackedHistory draws = store->LoadPacked();
  GroupRequest request;
  request.checkedBoxes = {1, 2, 3};
  request.startBox = ShownIssue(draws.issues.front(), false);
  request.endBox = ShownIssue(draws.issues.back(), false);
  auto other = HistoryStore::OpenFolder(folder.path());
  const std::vector<OmissionRecord> othersTable = {{"01 02 03", 1, 2, 3, 1.5f}};
  store->SetAfterChangeHook([&] { ReplaceOmissionRecords(*other, othersTable); });

  const std::vector<OmissionRecord> table =
      RunGroupTable(draws, request, *store, OmissionSortKey::kLast);
  EXPECT_EQ(table, SortOmissionRecords(ComputeGroupRows(draws, request), OmissionSortKey::kLast));
  EXPECT_EQ(table.size(), 3u);
  EXPECT_EQ(LoadOmissionRecords(*store, OmissionSortKey::kLast), othersTable);
}

// The calculation counts the two halves of a range apart and joins them:
// split anywhere, the joined run gives the figures of one count over all.
TEST(OmissionRunTest, JoinedHalvesGiveTheFiguresOfOneCount) {
  const std::vector<std::vector<int32_t>> hitLists = {
      {}, {5}, {3, 4}, {1, 9, 10, 30}, {2, 40, 41, 42, 90}, {17, 18, 60, 61, 62, 63}};
  constexpr int64_t kPreviousHit = 0;
  constexpr int64_t kNewest = 100;
  for (const std::vector<int32_t>& hits : hitLists) {
    OmissionCounter whole(kPreviousHit);
    for (int32_t idx : hits) whole.AddHit(idx);
    for (size_t split = 0; split <= hits.size(); ++split) {
      OmissionRun first;
      OmissionRun second;
      for (size_t i = 0; i < hits.size(); ++i) (i < split ? first : second).AddHit(hits[i]);
      EXPECT_EQ(first.FollowedBy(second).Finish(kPreviousHit, kNewest), whole.Finish(kNewest))
          << hits.size() << " hits split at " << split;
    }
  }
}

TEST(SortKeyTest, ColumnsOneToFourPickTheKeys) {
  EXPECT_EQ(SortKeyOfColumn(0), std::nullopt);
  EXPECT_EQ(SortKeyOfColumn(1), OmissionSortKey::kSmallest);
  EXPECT_EQ(SortKeyOfColumn(2), OmissionSortKey::kLargest);
  EXPECT_EQ(SortKeyOfColumn(3), OmissionSortKey::kLast);
  EXPECT_EQ(SortKeyOfColumn(4), OmissionSortKey::kRatio);
  EXPECT_EQ(SortKeyOfColumn(5), std::nullopt);
  EXPECT_EQ(SortKeyColumn(OmissionSortKey::kRatio), "sglLlr");
  EXPECT_EQ(SortKeyOfColumnName("intLstYl"), OmissionSortKey::kLast);
  EXPECT_EQ(SortKeyOfColumnName("content"), std::nullopt);
}

TEST(SelectionPanelTest, ButtonsCountAndTypeChange) {
  struct Case {
    SearchType type;
    int shown, afterSelectAll;
    std::vector<std::string> captions;
  };
  for (const Case& c : {Case{SearchType::kNumber, 20, 20, {"1", "2", "20"}},
                        Case{SearchType::kTens, 3, 5, {"0", "1", "2"}},
                        Case{SearchType::kUnits, 10, 10, {"0", "1", "9"}},
                        Case{SearchType::kSum, 10, 13, {"1", "2", "10"}},
                        Case{SearchType::kSegment, 5, 7, {"1", "2", "5"}},
                        Case{SearchType::kZodiac, 12, 12, {"鼠", "牛", "猪"}}}) {
    SelectionPanel panel(c.type);
    EXPECT_EQ(ShownBoxCount(c.type), c.shown);
    panel.SelectAll();
    EXPECT_EQ(panel.SelectedCount(), c.afterSelectAll);
    panel.Invert();
    EXPECT_EQ(panel.SelectedCount(), 0);
    const int shown = ShownBoxCount(c.type);
    EXPECT_EQ((std::vector<std::string>{BoxCaption(c.type, 1, {}), BoxCaption(c.type, 2, {}),
                                        BoxCaption(c.type, shown, {})}),
              c.captions);
  }
  SelectionPanel panel(SearchType::kNumber);
  for (int box : {1, 4, 9, 13, 14, 15, 19, 20}) panel.SetChecked(box, true);
  EXPECT_EQ(panel.SelectedCount(), 8);
  panel.Invert();
  panel.Invert();
  EXPECT_EQ(panel.SelectedBoxes(), (std::vector<int>{1, 4, 9, 13, 14, 15, 19, 20}));
  panel.ChangeType(SearchType::kUnits);
  EXPECT_EQ(panel.SelectedCount(), 0);
  EXPECT_FALSE(panel.Checked(20));
}

}  // namespace
}  // namespace zs
