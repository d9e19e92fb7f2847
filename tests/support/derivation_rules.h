// Derivation rules for the tests: the zodiac and segment bases as given and,
// unless told otherwise, 84 draws a day with two-digit daily numbers, the rule
// of the test histories.
#ifndef ZEPHYRSTAT_TESTS_SUPPORT_DERIVATION_RULES_H_
#define ZEPHYRSTAT_TESTS_SUPPORT_DERIVATION_RULES_H_

#include "core/derivation.h"
#include "core/issue_number.h"

namespace zs::testing {

constexpr IssueRule kTwoDigit84{84, false};

DerivationRules Rules(int zodiacBase = 1, int segmentBase = 1, IssueRule issueRule = kTwoDigit84);

}  // namespace zs::testing

#endif  // ZEPHYRSTAT_TESTS_SUPPORT_DERIVATION_RULES_H_
