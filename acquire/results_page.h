// Reading a results page for the online update ("历史号在线更新"): which
// issues an update looks up, and the draws a fetched page lists for them.
//
// A page's visible text lists a draw as the eight digits of its issue with
// the eight numbers right behind them, each two digits with one separator
// character between numbers: when the issue starts at character p, number k
// (1..8) starts at character p + 5 + 3k. Every issue of the plan is looked
// up in that text, in whatever order the page lists its draws.
//
// Reading touches no store, so it may run on any thread. One time limit
// (FetchTimeout) covers fetching and reading together: the reading takes the
// deadline and gives up once it has passed. The plan and the storing of what
// was read are history/update.h's.
#ifndef ZEPHYRSTAT_ACQUIRE_RESULTS_PAGE_H_
#define ZEPHYRSTAT_ACQUIRE_RESULTS_PAGE_H_

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

namespace zs {

// What an update asks the results page for and looks up in it.
struct UpdatePlan {
  std::string address;       // the results page request
  int32_t firstIssue = 0;    // the first valid issue looked up
  int32_t lastIssue = 0;     // the last possible draw of today
  bool dropHistory = false;  // the first stored draw is older than the kept days
  IssueRule rule;
};

// The first valid issue at or after `issue` (an issue past its day's draws
// or on no real date moves on to the next real day); the greatest int32_t
// past the issues of 2099, the first of 2000 before them.
int32_t FirstValidIssueFrom(int32_t issue, const IssueRule& rule);

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

}  // namespace zs

#endif  // ZEPHYRSTAT_ACQUIRE_RESULTS_PAGE_H_
