// The online update ("历史号在线更新"): brings the history up to date from the
// results page of the chosen edition.
//
// The page is asked for the (kept days + 1) × draws-per-day most recent
// draws. Its visible text lists a draw as the eight digits of its issue with
// the eight numbers right behind them, each two digits with one separator
// character between numbers: when the issue starts at character p, number k
// (1..8) starts at character p + 5 + 3k. Every valid issue from the first one missing
// up to the last possible draw of today is looked up in that text, in
// whatever order the page lists its draws.
//
// Fetching the page is the front end's job; this piece plans the request,
// reads the page that arrived (ReadResultsPage: no store, any thread) and
// stores what it read. Nothing changes before a page with at least one draw
// has arrived, and then the whole change (dropping a history that has grown
// too old, storing the new draws) is one transaction.
//
// One time limit (FetchTimeout) covers fetching and reading together: the
// reading takes the deadline and gives up once it has passed.
#ifndef ZEPHYRSTAT_ACQUIRE_ONLINE_UPDATE_H_
#define ZEPHYRSTAT_ACQUIRE_ONLINE_UPDATE_H_

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/derivation.h"
#include "core/draw.h"
#include "core/issue_number.h"
#include "core/settings.h"
#include "store/history_store.h"

namespace zs {

// Shown when the settings choose no edition: there is no results page to ask.
inline constexpr const char* kNoEditionMessage =
    "请先在“设置 → 彩种选择”中选择彩种，再在线更新历史号码。";

struct UpdatePlan {
  std::string address;       // the results page request
  int32_t firstIssue = 0;    // the first valid issue looked up
  int32_t lastIssue = 0;     // the last possible draw of today
  bool dropHistory = false;  // the first stored draw is older than the kept days
  IssueRule rule;
};

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
// the lookup starts with the first draw of the day the kept days
// (Settings::keptDays) before today (not before 2000); otherwise with the
// first valid issue after the last stored one. Throws InputError when no
// edition is chosen (kNoEditionMessage) or today lies outside 2000..2099.
UpdatePlan PlanUpdate(HistoryStore& store, const Settings& settings, const Date& today);

// Every valid issue (a real calendar date, daily sequence 1..draws per day)
// from `first` to `last`, ascending. Under two-digit sequences only.
std::vector<int32_t> CandidateIssues(int32_t first, int32_t last, const IssueRule& rule);

// When the update must have finished: the start of the fetch plus
// FetchTimeout.
struct UpdateDeadline {
  using Clock = std::chrono::steady_clock;
  Clock::time_point at;
  int seconds = 0;  // FetchTimeout, for the message
  // The clock Check() reads; a test gives one that runs out on cue.
  Clock::time_point (*now)() = &Clock::now;

  static UpdateDeadline FromNow(int seconds);
  // Throws InputError (history unchanged) once the deadline has passed.
  void Check() const;
};

// The draws a page text lists for the issues looked up. When an issue
// appears more than once, its first appearance with eight numbers 01..20
// counts. Only the looked-up issues are kept, so memory follows their count,
// not the size of the page.
class PageDraws {
 public:
  struct Entry {
    bool found = false;     // the text contains the issue's eight digits
    bool readable = false;  // false: the issue appears, but never with eight numbers 01..20
    Numbers numbers{};
  };

  // `pageText` is UTF-8; offsets count characters. `wanted` are the issues
  // to look up. The deadline is checked before the text is scanned and after
  // every 1 MiB of it.
  PageDraws(std::string_view pageText, const std::vector<int32_t>& wanted,
            const UpdateDeadline& deadline);

  // nullptr when the issue was not looked up or the text does not contain
  // its eight digits.
  const Entry* Find(int32_t issue) const;
  // Whether the text lists any draw with eight numbers 01..20, looked up or not.
  bool ListsADraw() const { return listsADraw_; }

 private:
  std::unordered_map<int32_t, Entry> entries_;
  bool listsADraw_ = false;
};

// What a results page holds for a plan.
struct PageReadout {
  std::vector<Draw> draws;  // the looked-up draws, ascending
  int64_t unreadable = 0;   // looked-up issues listed without eight numbers 01..20
};

// Reads a fetched results page (its bytes as they arrived, UTF-8 or GB18030)
// for `plan`. Touches no store, so it may run on any thread. Throws
// InputError when the page lists no draw at all or the deadline passes.
PageReadout ReadResultsPage(const UpdatePlan& plan, std::string_view pageBytes,
                            const UpdateDeadline& deadline);

// Stores a readout in one transaction (dropping the old history first when
// the plan says so), deriving the draws under the bases the history records.
// The page was read for the history as it was when `plan` was made from
// `settings` and `today`; another program may have changed it since, so the
// plan is made again inside the transaction, and when it differs StoreError
// is thrown and nothing is stored.
UpdateReport StoreResultsPage(HistoryStore& store, const UpdatePlan& plan, const Settings& settings,
                              const Date& today, const PageReadout& readout);

}  // namespace zs

#endif  // ZEPHYRSTAT_ACQUIRE_ONLINE_UPDATE_H_
