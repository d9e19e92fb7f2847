#include "history/typed_entry.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/errors.h"
#include "tests/support/derivation_rules.h"
#include "tests/support/stored_history.h"

namespace zs {
namespace {

using testing::Rules;

class ManualEntryTest : public ::testing::Test {
 protected:
  ManualEntryTest() : store_(HistoryStore::OpenMemory()) {}

  void StoreHistory(const std::vector<int32_t>& issues, const DerivationRules& rules) {
    std::vector<Draw> draws;
    for (int32_t issue : issues) draws.push_back(Draw{issue, kTyped});
    store_->ReplaceAllDraws(draws, rules);
  }

  static constexpr Numbers kTyped{3, 7, 15, 8, 19, 20, 11, 14};
  std::unique_ptr<HistoryStore> store_;
};

struct StoredIssueCase {
  int32_t lastStored;
  IssueRule rule;
  int32_t expected;
};

class TypedDrawIssueTest : public ManualEntryTest,
                           public ::testing::WithParamInterface<StoredIssueCase> {};

TEST_P(TypedDrawIssueTest, GoesInUnderTheNextIssueOfTheCurrentRule) {
  const StoredIssueCase& c = GetParam();
  const DerivationRules rules = Rules(1, 1, c.rule);
  StoreHistory({c.lastStored - 1, c.lastStored}, rules);

  EXPECT_EQ(StoreTypedDraw(*store_, kTyped, rules), c.expected);

  const std::vector<HistoryRow> rows = testing::StoredRows(*store_);
  ASSERT_EQ(rows.size(), 3u);
  HistoryRow expected = DeriveRow(Draw{c.expected, kTyped}, rules);
  expected.idx = 3;
  EXPECT_EQ(rows.back(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    NextIssue, TypedDrawIssueTest,
    ::testing::Values(StoredIssueCase{13051283, {84, false}, 13051284},
                      StoredIssueCase{13051284, {84, false}, 13051301},   // day complete
                      StoredIssueCase{13013184, {84, false}, 13020101},   // month end
                      StoredIssueCase{13123184, {84, false}, 14010101},   // year end
                      StoredIssueCase{130512084, {84, true}, 130513001},  // three-digit rule
                      StoredIssueCase{130512083, {84, true}, 130512084},
                      StoredIssueCase{13051284, {97, false}, 13051285}));

TEST_F(ManualEntryTest, UsesTheCurrentEditionNotTheStoredFollowingIssue) {
  // Stored while 重庆快乐十分 (97 a day) was chosen: its QQH is 13051285.
  StoreHistory({13051283, 13051284}, Rules(1, 1, {97, false}));
  ASSERT_EQ(store_->Last()->nextIssue, 13051285);

  EXPECT_EQ(StoreTypedDraw(*store_, kTyped, Rules(1, 1, {84, false})), 13051301);
  EXPECT_EQ(store_->Last()->issue, 13051301);
}

TEST_F(ManualEntryTest, RefusesANextIssueThatSortsBeforeTheLastOne) {
  // A nine-digit history read under the two-digit rule would continue at
  // 13051301, which lies before 130512084.
  StoreHistory({130512083, 130512084}, Rules(1, 1, {84, true}));
  const std::vector<HistoryRow> before = testing::StoredRows(*store_);
  EXPECT_THROW(StoreTypedDraw(*store_, kTyped, Rules(1, 1, {84, false})), InputError);
  EXPECT_EQ(testing::StoredRows(*store_), before);
}

struct RefusedNumbers {
  Numbers numbers;
  int box;            // the first wrong box
  const char* named;  // what the refusal says of it
};

class RefusedNumbersTest : public ManualEntryTest,
                           public ::testing::WithParamInterface<RefusedNumbers> {};

TEST_P(RefusedNumbersTest, StoresNothingAndNamesTheWrongBox) {
  const DerivationRules rules = Rules(1, 1, {84, false});
  StoreHistory({13051282, 13051283}, rules);
  const std::vector<HistoryRow> before = testing::StoredRows(*store_);
  try {
    StoreTypedDraw(*store_, GetParam().numbers, rules);
    ADD_FAILURE() << "stored a draw that must be refused";
  } catch (const WrongBoxError& error) {
    EXPECT_EQ(error.box(), GetParam().box);
    EXPECT_NE(std::string(error.what()).find(GetParam().named), std::string::npos) << error.what();
  }
  EXPECT_EQ(testing::StoredRows(*store_), before);
}

INSTANTIATE_TEST_SUITE_P(
    OutOfRangeOrRepeated, RefusedNumbersTest,
    ::testing::Values(
        RefusedNumbers{{0, 7, 15, 8, 19, 20, 11, 14}, 1, "第1个框的号码不在01到20之间"},
        RefusedNumbers{{3, 7, 15, 8, 19, 21, 11, 14}, 6, "第6个框的号码不在01到20之间"},
        RefusedNumbers{{3, 7, 15, 8, 19, 20, 11, -1}, 8, "第8个框"},
        RefusedNumbers{{3, 7, 15, 8, 19, 20, 11, 99}, 8, "第8个框"},
        RefusedNumbers{{3, 7, 15, 8, 19, 20, 11, 3}, 8, "第8个框的号码与第1个框相同"},
        RefusedNumbers{{5, 5, 5, 5, 5, 5, 5, 5}, 2, "第2个框的号码与第1个框相同"}));

TEST_F(ManualEntryTest, RefusesOnAnEmptyHistory) {
  EXPECT_THROW(StoreTypedDraw(*store_, kTyped, Rules(1, 1, {84, false})), InputError);
  EXPECT_EQ(store_->Count(), 0);
}

TEST_F(ManualEntryTest, RederivingFollowsTheNewBasesInEveryRow) {
  const DerivationRules before = Rules(1, 1, {84, false});
  StoreHistory({14013183, 14013184, 14020101, 14020102}, before);
  const std::vector<HistoryRow> old = testing::StoredRows(*store_);

  const DerivationRules after = Rules(0, 0, {84, false});
  store_->Rederive(after);

  const std::vector<HistoryRow> rows = testing::StoredRows(*store_);
  ASSERT_EQ(rows.size(), old.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].idx, old[i].idx);
    EXPECT_EQ(rows[i].issue, old[i].issue);
    EXPECT_EQ(rows[i].numbers(), old[i].numbers());
    for (int p = 0; p < kPositions; ++p) {
      EXPECT_EQ(rows[i].fields[static_cast<int>(SearchType::kZodiac)][p],
                old[i].fields[static_cast<int>(SearchType::kZodiac)][p] - 1);
      EXPECT_EQ(rows[i].fields[static_cast<int>(SearchType::kSegment)][p],
                old[i].fields[static_cast<int>(SearchType::kSegment)][p] - 1);
    }
    HistoryRow expected = DeriveRow(Draw{rows[i].issue, rows[i].numbers()}, after);
    expected.idx = rows[i].idx;
    EXPECT_EQ(rows[i], expected);
  }
}

}  // namespace
}  // namespace zs
