#include "analysis/search_range.h"

#include <algorithm>
#include <string>

#include "analysis/history_index.h"
#include "core/errors.h"
#include "core/issue_number.h"

namespace zs {

namespace {

int32_t ReadBox(std::string_view text, const char* which) {
  if (std::optional<std::string> refusal = ShownIssueRefusal(text)) {
    throw InputError(std::string("检索范围的") + which + *refusal + "，无法检索");
  }
  const std::optional<int32_t> issue = RangeBoxIssue(text);
  if (!issue) {
    throw InputError(std::string("检索范围的") + which + "期号“" + std::string(text) +
                     "”的最后九个字符不是数字，无法检索");
  }
  return *issue;
}

}  // namespace

SearchRange ReadRangeBoxes(std::string_view startBox, std::string_view endBox) {
  SearchRange range;
  range.start = ReadBox(startBox, "起始");
  range.end = ReadBox(endBox, "终止");
  return range;
}

RangeSpan Locate(const HistoryIndex& index, const SearchRange& range) {
  return Locate(index.Draws()->issues, range);
}

RangeSpan Locate(const std::vector<int32_t>& issues, const SearchRange& range) {
  RangeSpan span;
  span.begin = static_cast<size_t>(std::lower_bound(issues.begin(), issues.end(), range.start) -
                                   issues.begin());
  span.end = std::max(
      span.begin, static_cast<size_t>(std::upper_bound(issues.begin(), issues.end(), range.end) -
                                      issues.begin()));
  span.previousHitIdx = static_cast<int64_t>(span.begin);
  span.newestIdx = static_cast<int64_t>(issues.size());
  return span;
}

RangeSpan LocateRangeBoxes(const HistoryIndex& index, std::string_view startBox,
                           std::string_view endBox) {
  return LocateRangeBoxes(index.Draws()->issues, startBox, endBox);
}

RangeSpan LocateRangeBoxes(const std::vector<int32_t>& issues, std::string_view startBox,
                           std::string_view endBox) {
  if (issues.empty()) {
    throw InputError("历史号码为空：请先读取历史号文本或在线更新历史号码，再检索或查看走势");
  }
  return Locate(issues, ReadRangeBoxes(startBox, endBox));
}

}  // namespace zs
