// The history index kept current by Append and RemoveLast answers every
// criterion exactly as one rebuilt from the same rows.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "analysis/history_index.h"
#include "tests/support/analysis_histories.h"

namespace zs {
namespace {

// Every set the index can give, as the list of draws it holds.
std::vector<std::vector<size_t>> AllSets(const HistoryIndex& index) {
  std::vector<std::vector<size_t>> sets;
  auto list = [&](const DrawSet* set) {
    std::vector<size_t> draws;
    for (size_t d = 0; set && d < index.DrawCount() + 64; ++d) {
      if (set->Contains(d)) draws.push_back(d);
    }
    sets.push_back(draws);
  };
  for (int t = 0; t < kSearchTypeCount; ++t) {
    const auto type = static_cast<SearchType>(t);
    for (int value = -1; value <= kMaxIndexedValue + 1; ++value) {
      for (int p = 0; p < kPositions; ++p) list(index.AtPosition(type, p, value));
      for (int c = 1; c <= kPositions; ++c) list(index.AtLeast(type, value, c));
    }
  }
  return sets;
}

TEST(HistoryIndexTest, AppendAndRemoveLastMatchARebuild) {
  DerivationRules rules;
  const std::vector<HistoryRow> rows =
      testing::DeriveRows(testing::RandomDraws(3, 150, 0.3), rules);
  HistoryIndex grown;
  for (const HistoryRow& row : rows) grown.Append(row);
  EXPECT_EQ(AllSets(grown), AllSets(HistoryIndex(rows)));

  for (int removed = 0; removed < 70; ++removed) grown.RemoveLast();
  const std::vector<HistoryRow> kept(rows.begin(), rows.end() - 70);
  EXPECT_EQ(grown.DrawCount(), kept.size());
  EXPECT_EQ(AllSets(grown), AllSets(HistoryIndex(kept)));
  EXPECT_EQ(grown.Issue(kept.size() - 1), kept.back().issue);

  HistoryIndex empty;
  empty.RemoveLast();
  EXPECT_EQ(empty.DrawCount(), 0u);
  EXPECT_EQ(empty.AtLeast(SearchType::kNumber, 1, 1), nullptr);
}

// The index read row by row from the store is the one built from the rows
// derived from its draws, draw fields included; an empty store gives an empty index.
TEST(HistoryIndexTest, BuiltFromTheStoreMatchesOneBuiltFromItsRows) {
  DerivationRules rules;
  rules.zodiacBase = 0;
  for (const auto& [seed, count] : {std::pair{7u, 0}, {8u, 1}, {9u, 700}}) {
    const std::vector<Draw> draws = testing::RandomDraws(seed, count, 0.4);
    const testing::AnalysisHistory history = testing::MakeAnalysisHistory(draws, rules);
    const std::vector<HistoryRow> rows = testing::DeriveRows(draws, rules);
    const HistoryIndex fromRows(rows);
    const HistoryIndex fromStore(*history.store);
    ASSERT_EQ(fromStore.DrawCount(), rows.size()) << "seed " << seed;
    EXPECT_EQ(AllSets(fromStore), AllSets(fromRows)) << "seed " << seed;
    for (size_t draw = 0; draw < rows.size(); ++draw) {
      ASSERT_EQ(fromStore.Issue(draw), rows[draw].issue);
      for (int t = 0; t < kSearchTypeCount; ++t) {
        for (int p = 0; p < kPositions; ++p) {
          ASSERT_EQ(fromStore.Field(draw, static_cast<SearchType>(t), p), rows[draw].fields[t][p])
              << "draw " << draw << " type " << t << " position " << p;
        }
      }
    }
  }
}

TEST(HistoryIndexTest, DigitSumAtAPositionAddsTensAndUnits) {
  HistoryRow row = DeriveRow(Draw{14010101, {19, 10, 1, 2, 3, 4, 5, 6}}, DerivationRules{});
  const HistoryIndex index(std::vector<HistoryRow>{row});
  EXPECT_NE(index.AtPosition(SearchType::kSum, 0, 10), nullptr);
  EXPECT_NE(index.AtPosition(SearchType::kSum, 1, 1), nullptr);
  EXPECT_EQ(index.AtPosition(SearchType::kSum, 1, 10), nullptr);
  EXPECT_EQ(index.CountBelow(14010101), 0u);
  EXPECT_EQ(index.CountUpTo(14010101), 1u);
  EXPECT_EQ(index.CountBelow(14010102), 1u);
}

}  // namespace
}  // namespace zs
