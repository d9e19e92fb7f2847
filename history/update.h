// The online update ("历史号在线更新"): brings the history up to date from
// the results page of the chosen edition.
//
// The page is asked for the (kept days + 1) × draws-per-day most recent
// draws. Every valid issue from the first one missing up to the last
// possible draw of today is looked up in it (acquire/results_page.h).
//
// Fetching the page is the front end's job; this piece plans the request
// from the stored history and stores what was read. Nothing changes before a
// page with at least one draw has arrived, and then the whole change
// (dropping a history that has grown too old, storing the new draws) is one
// transaction.
#ifndef ZEPHYRSTAT_HISTORY_UPDATE_H_
#define ZEPHYRSTAT_HISTORY_UPDATE_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "acquire/results_page.h"
#include "core/issue_number.h"
#include "core/settings.h"
#include "store/history_store.h"

namespace zs {

// Shown when the settings choose no edition: there is no results page to ask.
inline constexpr const char* kNoEditionMessage =
    "请先在“设置 → 彩种选择”中选择彩种，再在线更新历史号码。";

// What an update did.
struct UpdateReport {
  int64_t added = 0;       // draws stored
  int64_t unreadable = 0;  // issues the page names without eight numbers 01..20: not stored
  int64_t dropped = 0;     // draws deleted because the history had grown too old
  int32_t firstIssue = 0;  // as in UpdatePlan
  int32_t lastIssue = 0;
  std::string address;
};

// The template with every "{code}" replaced by `code` and every "{n}" by
// `drawCount`.
std::string ResultsAddress(std::string_view urlTemplate, std::string_view code, int drawCount);

// The request, the issues to look up and the age check, from the stored
// history and today's date. When the history is empty or will be dropped,
// the lookup starts with the first draw of the day `keptDays` days before
// today (not before 2000); otherwise with the first valid issue after the
// last stored one. Throws InputError when no edition is chosen
// (kNoEditionMessage) or today lies outside 2000..2099.
UpdatePlan PlanUpdate(HistoryStore& store, const Settings& settings, const Date& today);

// Stores a readout in one transaction (dropping the old history first when
// the plan says so), deriving the draws under the bases the history records.
// The page was read for the history as it was when `plan` was made from
// `settings` and `today`; another program may have changed it since, so the
// plan is made again inside the transaction, and when it differs StoreError
// is thrown and nothing is stored.
UpdateReport StoreResultsPage(HistoryStore& store, const UpdatePlan& plan, const Settings& settings,
                              const Date& today, const PageReadout& readout);

}  // namespace zs

#endif  // ZEPHYRSTAT_HISTORY_UPDATE_H_
