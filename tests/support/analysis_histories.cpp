#include "tests/support/analysis_histories.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace zs::testing {

std::vector<Draw> RandomDraws(uint64_t seed, int count, double repeatRate) {
  std::mt19937_64 random(seed);
  std::uniform_real_distribution<double> chance(0, 1);
  std::vector<Draw> draws;
  const IssueRule rule{84, false};
  int32_t issue = 14010101;
  for (int i = 0; i < count; ++i) {
    Draw draw;
    draw.issue = issue;
    std::vector<int> pool(kMaxNumber);
    for (int n = 0; n < kMaxNumber; ++n) pool[n] = n + 1;
    std::shuffle(pool.begin(), pool.end(), random);
    std::copy_n(pool.begin(), kPositions, draw.numbers.begin());
    if (chance(random) < repeatRate) {
      draw.numbers[random() % kPositions] = draw.numbers[random() % kPositions];
    }
    draws.push_back(draw);
    issue = FollowingIssue(issue, rule);
  }
  return draws;
}

std::vector<HistoryRow> DeriveRows(const std::vector<Draw>& draws, const DerivationRules& rules) {
  std::vector<HistoryRow> rows;
  rows.reserve(draws.size());
  for (const Draw& draw : draws) rows.push_back(DeriveRow(draw, rules));
  return rows;
}

AnalysisHistory MakeAnalysisHistory(const std::vector<Draw>& draws, const DerivationRules& rules) {
  AnalysisHistory history;
  history.store = HistoryStore::OpenMemory();
  history.store->ReplaceAllDraws(draws, rules);
  history.index = HistoryIndex(*history.store);  // as the window builds it
  return history;
}

void ExpectSameBook(const WatchBook& got, const WatchBook& want) {
  ASSERT_EQ(got.DrawCount(), want.DrawCount());
  ASSERT_EQ(got.entries().size(), want.entries().size());
  for (size_t i = 0; i < want.entries().size(); ++i) {
    const WatchEntry& a = got.entries()[i];
    const WatchEntry& b = want.entries()[i];
    ASSERT_EQ(a.watch, b.watch);
    ASSERT_EQ(a.figures.HitCount(), b.figures.HitCount());
    ASSERT_EQ(a.figures.omissionSum, b.figures.omissionSum);
    ASSERT_EQ(a.figures.Omissions(), b.figures.Omissions());
    ASSERT_EQ(a.holds, b.holds);
  }
}

}  // namespace zs::testing
