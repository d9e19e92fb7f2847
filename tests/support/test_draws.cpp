#include "tests/support/test_draws.h"

#include "tools/history_generator.h"

namespace zs::testing {

std::vector<Draw> EveryDrawOfTheDays(Date first, Date last, bool threeDigit) {
  return GenerateHistory({.first = first,
                          .last = last,
                          .threeDigit = threeDigit,
                          .seed = 7,
                          .missingRate = 0,
                          .springFestivalBreak = false});
}

std::vector<Draw> SevensExample(int count, const std::set<int>& sevens) {
  std::vector<Draw> draws;
  int32_t issue = 14010101;
  for (int idx = 1; idx <= count; ++idx) {
    draws.push_back(Draw{issue, {sevens.count(idx) ? 7 : 1, 2, 3, 4, 5, 6, 8, 9}});
    issue = FollowingIssue(issue, IssueRule{84, false});
  }
  return draws;
}

}  // namespace zs::testing
