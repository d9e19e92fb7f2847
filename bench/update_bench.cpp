// The online update's lookup: a year's candidate issues (every valid issue
// of 2014, 84 draws a day) looked up in the text of a results page of 1,500
// draws. Target: under 50 ms. The HTML parse that yields the page text is
// measured beside it, and so is the whole way from HTML to the last lookup.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "acquire/page_text.h"
#include "acquire/results_page.h"
#include "tools/history_generator.h"

namespace zs {
namespace {

constexpr int kPageDraws = 1500;
const IssueRule kRule{84, false};

// A results page like the project's results-server makes: newest first, a
// table row per draw, the numbers separated by entities.
std::string ResultsPage() {
  std::vector<Draw> draws =
      GenerateHistory(OptionsForDrawCount(kPageDraws, Date{2014, 12, 31}, kRule.drawsPerDay, 3));
  draws.erase(draws.begin(), draws.end() - kPageDraws);
  std::string html =
      "<!DOCTYPE html><html><head><style>td { color: red }</style>"
      "<script>var x = 1;</script></head><body><table>";
  for (auto draw = draws.rbegin(); draw != draws.rend(); ++draw) {
    char row[256];
    const Numbers& n = draw->numbers;
    std::snprintf(row, sizeof row,
                  "<tr><td>20xx</td><td><b>%08d</b><span>%02d</span>&nbsp;<span>%02d</span>&nbsp;"
                  "<span>%02d</span>&nbsp;<span>%02d</span>&nbsp;<span>%02d</span>&nbsp;"
                  "<span>%02d</span>&nbsp;<span>%02d</span>&nbsp;<span>%02d</span></td></tr>\n",
                  draw->issue, n[0], n[1], n[2], n[3], n[4], n[5], n[6], n[7]);
    html += row;
  }
  return html + "</table></body></html>";
}

int64_t LookUpAYear(const std::string& pageText) {
  const std::vector<int32_t> wanted = CandidateIssues(14010101, 14123184, kRule);
  const PageDraws page(pageText, wanted, UpdateDeadline::FromNow(600));
  int64_t found = 0;
  for (int32_t issue : wanted) {
    const PageDraws::Entry* entry = page.Find(issue);
    found += entry != nullptr && entry->readable ? 1 : 0;
  }
  return found;
}

void BM_LookUpAYearInPageText(benchmark::State& state) {
  const std::string text = PageText(ResultsPage());
  int64_t found = 0;
  for (auto _ : state) benchmark::DoNotOptimize(found = LookUpAYear(text));
  state.counters["found"] = double(found);
}
BENCHMARK(BM_LookUpAYearInPageText)->Unit(benchmark::kMillisecond);

void BM_PageTextOfHtml(benchmark::State& state) {
  const std::string html = ResultsPage();
  for (auto _ : state) benchmark::DoNotOptimize(PageText(html));
  state.counters["html_bytes"] = double(html.size());
}
BENCHMARK(BM_PageTextOfHtml)->Unit(benchmark::kMillisecond);

void BM_FromHtmlToTheLastLookUp(benchmark::State& state) {
  const std::string html = ResultsPage();
  for (auto _ : state) benchmark::DoNotOptimize(LookUpAYear(PageText(html)));
}
BENCHMARK(BM_FromHtmlToTheLastLookUp)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zs

BENCHMARK_MAIN();
