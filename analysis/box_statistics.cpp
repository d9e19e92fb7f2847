#include "analysis/box_statistics.h"

#include <algorithm>

#include "analysis/box_view.h"
#include "analysis/draw_set.h"
#include "analysis/expected_hits.h"
#include "analysis/history_index.h"
#include "core/issue_number.h"
#include "core/text.h"

namespace zs {

namespace {

double Mean(const BoxFigures& figures) {
  return static_cast<double>(figures.omissionSum) / static_cast<double>(figures.hitCount);
}

}  // namespace

std::string BoxFigures::AverageText() const {
  return hitCount == 0 ? std::string() : TwoDecimals(Mean(*this));
}

std::string BoxFigures::ChanceText() const {
  return hitCount == 0 ? std::string() : TwoDecimals(omissions.last / Mean(*this));
}

BoxFigures FiguresOver(const DrawSet* draws, const RangeSpan& span) {
  BoxFigures figures;
  OmissionCounter counter(span.previousHitIdx);
  if (draws != nullptr && span.begin < span.end) {
    int64_t run = 0;
    int32_t largest = 0;
    const size_t lastWord = (span.end - 1) / DrawSet::kWordBits;
    for (size_t w = span.begin / DrawSet::kWordBits; w <= lastWord; ++w) {
      ForEachBit(draws->Word(w) & RangeMask(w, span.begin, span.end), w, [&](size_t draw) {
        const int32_t omission = counter.AddHit(static_cast<int64_t>(draw) + 1);
        if (counter.HitCount() == 1 || omission > largest) {
          largest = omission;
          figures.largestOmissionDraw = draw;
        }
        figures.newestHitOmission = omission;
        figures.omissionSum += omission;
        // A hit right after a hit of the range continues the run.
        run = omission == 1 && counter.HitCount() > 1 ? run + 1 : 1;
        figures.longestRun = std::max(figures.longestRun, run);
      });
    }
  }
  figures.hitCount = counter.HitCount();
  figures.omissions = counter.Finish(span.newestIdx);
  return figures;
}

Grid BoxStatisticsGrid(const BoxView& view) {
  Grid grid({"值", "出现次数", "理论次数", "出现频率", "最小遗漏", "最大遗漏", "最后遗漏",
             "上次遗漏", "平均遗漏", "欲出几率", "投资价值", "回补几率", "最大连出",
             "最大遗漏期号"});
  const RangeSpan& span = view.span();
  const auto draws = static_cast<double>(span.end - span.begin);
  const std::vector<double> expected = ExpectedHits(view, span);
  for (int box = 0; box < view.BoxCount(); ++box) {
    const BoxFigures figures = FiguresOver(view.Draws(box), span);
    const double theory = expected[static_cast<size_t>(box)];
    const bool hit = figures.hitCount > 0;
    std::string frequency, value, comeback;
    if (draws > 0) frequency = TwoDecimals(100.0 * figures.hitCount / draws) + "%";
    if (theory > 0) {
      const double cycle = draws / theory;
      value = TwoDecimals(figures.omissions.last / cycle);
      if (hit) comeback = TwoDecimals((figures.newestHitOmission - figures.omissions.last) / cycle);
    }
    grid.AddRow(
        {view.Label(box), std::to_string(figures.hitCount), TwoDecimals(theory), frequency,
         std::to_string(figures.omissions.smallest), std::to_string(figures.omissions.largest),
         std::to_string(figures.omissions.last),
         hit ? std::to_string(figures.newestHitOmission) : std::string(), figures.AverageText(),
         figures.ChanceText(), value, comeback, std::to_string(figures.longestRun),
         hit ? ShownIssue(view.index().Issue(figures.largestOmissionDraw), view.threeDigit())
             : std::string()});
  }
  return grid;
}

HitList BoxHits(const BoxView& view, int box) { return HitsOfAll({view.Draws(box)}, view.span()); }

}  // namespace zs
