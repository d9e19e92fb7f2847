#include "history/update.h"

#include <algorithm>
#include <optional>

#include "core/derivation.h"
#include "core/edition.h"
#include "core/errors.h"

namespace zs {
namespace {

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
}

}  // namespace

std::string ResultsAddress(std::string_view urlTemplate, std::string_view code, int drawCount) {
  std::string address(urlTemplate);
  ReplaceAll(address, "{code}", code);
  ReplaceAll(address, "{n}", std::to_string(drawCount));
  return address;
}

UpdatePlan PlanUpdate(HistoryStore& store, const Settings& settings, const Date& today) {
  if (!settings.edition.index()) throw InputError(kNoEditionMessage);
  if (std::optional<std::string> refusal = IssueYearRefusal(today)) {
    throw InputError("今天的" + *refusal + "；历史号码未改变");
  }
  UpdatePlan plan;
  plan.rule = IssueRule::From(settings);
  plan.address = ResultsAddress(settings.resultsUrl, EditionCode(settings.edition),
                                (settings.keptDays + 1) * plan.rule.drawsPerDay);

  if (const std::optional<HistoryRow> first = store.First()) {
    const std::optional<Date> firstDate = IssueDate(first->issue, plan.rule.threeDigit);
    plan.dropHistory = firstDate && DaysBetween(*firstDate, today) > settings.keptDays;
  }
  const std::optional<HistoryRow> last = plan.dropHistory ? std::nullopt : store.Last();
  const int32_t firstWanted = last ? last->issue + 1
                                   : FirstIssueOfDay(std::max(AddDays(today, -settings.keptDays),
                                                              Date{kFirstIssueYear, 1, 1}),
                                                     plan.rule);
  plan.firstIssue = FirstValidIssueFrom(firstWanted, plan.rule);
  plan.lastIssue = LastIssueOfDay(today, plan.rule);
  return plan;
}

UpdateReport StoreResultsPage(HistoryStore& store, const UpdatePlan& plan, const Settings& settings,
                              const Date& today, const PageReadout& readout) {
  HistoryStore::Change change(store);
  const UpdatePlan now = PlanUpdate(store, settings, today);
  if (now.firstIssue != plan.firstIssue || now.lastIssue != plan.lastIssue ||
      now.dropHistory != plan.dropHistory) {
    throw StoreError(
        "历史号码在更新期间已被另一个程序修改，本次更新未保存；历史号码保持原样，请重新更新");
  }
  UpdateReport report;
  report.firstIssue = plan.firstIssue;
  report.lastIssue = plan.lastIssue;
  report.address = plan.address;
  report.unreadable = readout.unreadable;
  report.dropped = plan.dropHistory ? store.Count() : 0;
  store.AppendDraws(readout.draws, DerivationRules::From(settings), plan.dropHistory);
  report.added = int64_t(readout.draws.size());
  change.Commit();
  return report;
}

}  // namespace zs
