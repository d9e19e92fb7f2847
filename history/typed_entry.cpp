#include "history/typed_entry.h"

#include <string>

namespace zs {

namespace {

// Throws WrongBoxError naming the first wrong box unless the numbers make a
// draw.
void CheckTypedNumbers(const Numbers& numbers) {
  for (int i = 0; i < kPositions; ++i) {
    const std::string box = "第" + std::to_string(i + 1) + "个框";
    if (numbers[i] < kMinNumber || numbers[i] > kMaxNumber) {
      throw WrongBoxError(i + 1, box + "的号码不在01到20之间，未保存");
    }
    for (int j = 0; j < i; ++j) {
      if (numbers[j] == numbers[i]) {
        throw WrongBoxError(i + 1, box + "的号码与第" + std::to_string(j + 1) + "个框相同，未保存");
      }
    }
  }
}

}  // namespace

int32_t StoreTypedDraw(HistoryStore& store, const Numbers& numbers, const DerivationRules& rules) {
  CheckTypedNumbers(numbers);
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
