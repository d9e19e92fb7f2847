#include "tests/support/derivation_rules.h"

namespace zs::testing {

DerivationRules Rules(int sxIni, int dsIni, IssueRule issueRule) {
  DerivationRules rules;
  rules.sxIni = sxIni;
  rules.dsIni = dsIni;
  rules.issueRule = issueRule;
  return rules;
}

}  // namespace zs::testing
