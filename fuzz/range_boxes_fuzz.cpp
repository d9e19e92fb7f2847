// The boxes a user types issues into: the range boxes, the chosen issue
// (range end before it) and the refusal of years outside 2000..2099. The
// input is split at its first newline into the start and end box.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "analysis/search_range.h"
#include "core/errors.h"
#include "core/issue_number.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const size_t split = text.find('\n');
  const std::string_view start = text.substr(0, split);
  const std::string_view end = split == std::string_view::npos ? "" : text.substr(split + 1);

  for (const zs::IssueRule& rule :
       {zs::IssueRule{84, false}, zs::IssueRule{97, false}, zs::IssueRule{84, true}}) {
    if (const std::optional<int32_t> rangeEnd = zs::RangeEndBefore(start, rule)) {
      ZS_FUZZ_CHECK(*rangeEnd >= 0);
      ZS_FUZZ_CHECK(!zs::ShownIssueRefusal(start));
    }
  }
  if (const std::optional<int32_t> issue = zs::RangeBoxIssue(start)) {
    ZS_FUZZ_CHECK(*issue >= 0 && *issue <= 999'999'999);
  }
  try {
    const zs::SearchRange range = zs::ReadRangeBoxes(start, end);
    ZS_FUZZ_CHECK(range.start == zs::RangeBoxIssue(start));
    ZS_FUZZ_CHECK(!zs::ShownIssueRefusal(start) && !zs::ShownIssueRefusal(end));
  } catch (const zs::InputError&) {
    // A refusal with its message is the answer to a box that names no issue.
  }
  return 0;
}
