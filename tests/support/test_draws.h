// Draw lists the end-to-end tests start from: whole days as the generator
// makes them, and a worked example whose omissions are counted by hand.
#ifndef ZEPHYRSTAT_TESTS_SUPPORT_TEST_DRAWS_H_
#define ZEPHYRSTAT_TESTS_SUPPORT_TEST_DRAWS_H_

#include <set>
#include <vector>

#include "core/draw.h"
#include "core/issue_number.h"

namespace zs::testing {

// Every draw of the days `first` to `last`, 84 a day, none missing and no
// break at the spring festival (seed 7).
std::vector<Draw> EveryDrawOfTheDays(Date first, Date last, bool threeDigit = false);

// `count` draws on 84-a-day two-digit issues from 14010101: 1..6, 8, 9, but
// those whose idx (from 1) is in `sevens` start with 7 instead of 1.
std::vector<Draw> SevensExample(int count, const std::set<int>& sevens);

}  // namespace zs::testing

#endif  // ZEPHYRSTAT_TESTS_SUPPORT_TEST_DRAWS_H_
