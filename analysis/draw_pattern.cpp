#include "analysis/draw_pattern.h"

#include "analysis/history_index.h"
#include "analysis/zodiac_names.h"
#include "core/errors.h"
#include "core/issue_number.h"

namespace zs {

std::optional<size_t> DrawAtOrBefore(const HistoryIndex& index, int32_t issue) {
  const size_t upTo = index.CountUpTo(issue);
  if (upTo == 0) return std::nullopt;
  return upTo - 1;
}

size_t ChosenIssueDraw(const HistoryIndex& index, std::string_view chosenText) {
  const std::string quoted = "“" + std::string(chosenText) + "”";
  if (index.DrawCount() == 0) {
    throw InputError("历史号码为空，无法从指定期" + quoted + "取号码");
  }
  if (std::optional<std::string> refusal = ShownIssueRefusal(chosenText)) {
    throw InputError("指定期的" + *refusal);
  }
  const std::optional<int32_t> issue = RangeBoxIssue(chosenText);
  if (!issue) {
    throw InputError("指定期号" + quoted + "的最后九个字符不是数字，无法取号码");
  }
  const std::optional<size_t> draw = DrawAtOrBefore(index, *issue);
  if (!draw) {
    throw InputError("指定期号" + quoted + "早于第一期历史号码，没有可取号码的期");
  }
  return *draw;
}

void TakePatternFromDraw(const HistoryIndex& index, size_t draw, int zodiacBase,
                         SearchPattern& pattern) {
  for (int p = 0; p < kPositions; ++p) {
    const int value =
        pattern.type == SearchType::kSum
            ? index.Field(draw, SearchType::kTens, p) + index.Field(draw, SearchType::kUnits, p)
            : index.Field(draw, pattern.type, p);
    pattern.values[p] = value;
    pattern.boxTexts[p] = pattern.type == SearchType::kZodiac ? ZodiacName(value - zodiacBase)
                                                              : std::to_string(value);
  }
}

}  // namespace zs
