#include "acquire/manual_entry.h"

#include <string>

#include "core/errors.h"

namespace zs {

namespace {

bool IsValidDrawNumbers(const Numbers& numbers) {
  for (int i = 0; i < kPositions; ++i) {
    if (numbers[i] < kMinNumber || numbers[i] > kMaxNumber) return false;
    for (int j = 0; j < i; ++j) {
      if (numbers[j] == numbers[i]) return false;
    }
  }
  return true;
}

}  // namespace

int32_t StoreTypedDraw(HistoryStore& store, const Numbers& numbers, const DerivationRules& rules) {
  if (!IsValidDrawNumbers(numbers)) {
    throw InputError("号码必须是01到20之间的八个互不相同的数，未保存");
  }
  HistoryStore::Change change(store);
  const std::optional<HistoryRow> last = store.Last();
  if (!last) {
    throw InputError("历史为空，无法确定下一期期号；请先读入历史号码");
  }
  const int32_t issue = FollowingIssue(last->issue, rules.issueRule);
  // A history stored under the other issue form can give a next issue that
  // sorts before the last one; storing it would hide the draw inside the
  // history and hand out the same issue again at the next entry.
  if (issue <= last->issue) {
    throw InputError("下一期期号 " + ShownIssue(issue, rules.issueRule.threeDigit) +
                     " 不在最后一期 " + ShownIssue(last->issue, rules.issueRule.threeDigit) +
                     " 之后，请检查所选的快乐十分版本，未保存");
  }
  store.AppendDraws({Draw{issue, numbers}}, rules);
  change.Commit();
  return issue;
}

}  // namespace zs
