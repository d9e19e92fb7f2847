#include "tests/support/derivation_rules.h"

namespace zs::testing {

DerivationRules Rules(int zodiacBase, int segmentBase, IssueRule issueRule) {
  DerivationRules rules;
  rules.zodiacBase = zodiacBase;
  rules.segmentBase = segmentBase;
  rules.issueRule = issueRule;
  return rules;
}

}  // namespace zs::testing
