// The online update's reading of a results page: markup, the nesting cap,
// the visible text and the draw lookup, for a fixed plan. Whatever the page,
// the reading ends in rows or an InputError, and every row is a looked-up
// issue with eight numbers 01..20, in ascending order.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "acquire/markup_nesting.h"
#include "acquire/results_page.h"
#include "core/errors.h"
#include "core/settings.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view page(reinterpret_cast<const char*>(data), size);
  // A small cap, so that short inputs reach the cut.
  const std::string capped = zs::CapNesting(page, 4);
  ZS_FUZZ_CHECK(capped.size() <= page.size());

  zs::UpdatePlan plan;
  plan.rule = zs::IssueRule{84, false};
  plan.firstIssue = 14011001;
  plan.lastIssue = 14011684;
  try {
    const zs::PageReadout readout =
        zs::ReadResultsPage(plan, page, zs::UpdateDeadline::FromNow(60));
    int32_t previous = 0;
    for (const zs::Draw& draw : readout.draws) {
      ZS_FUZZ_CHECK(draw.issue > previous && draw.issue <= plan.lastIssue);
      previous = draw.issue;
      for (int number : draw.numbers) {
        ZS_FUZZ_CHECK(number >= zs::kMinNumber && number <= zs::kMaxNumber);
      }
    }
  } catch (const zs::InputError&) {
    // A page without draws.
  }
  return 0;
}
