#include "core/watch.h"

#include "core/text.h"

namespace zs {

namespace {

constexpr std::array<std::string_view, 3> kKindNames = {"search", "partial", "combination"};
constexpr std::string_view kLastPrefix = "last>=";
constexpr std::string_view kRatioPrefix = "ratio>=";
constexpr std::string_view kRecord = "record";
constexpr int64_t kLargestRatio = 100000;

// A decimal "I" or "I.D" with at most four decimals, in units of
// 1 / kRatioScale; whole arithmetic keeps ratio>=1.1 exact.
std::optional<int64_t> ParseRatio(std::string_view text) {
  const size_t point = text.find('.');
  const std::string_view whole = text.substr(0, point);
  std::string_view decimals = point == std::string_view::npos ? "" : text.substr(point + 1);
  if (whole.empty() || decimals.size() > 4) return std::nullopt;
  if (point != std::string_view::npos && decimals.empty()) return std::nullopt;
  for (const std::string_view part : {whole, decimals}) {
    for (char c : part) {
      if (c < '0' || c > '9') return std::nullopt;
    }
  }
  const std::optional<int64_t> units = ParseWhole<int64_t>(whole);
  if (!units || *units > kLargestRatio) return std::nullopt;
  int64_t fraction = 0;
  int64_t scale = WatchCondition::kRatioScale;
  for (char c : decimals) {
    scale /= 10;
    fraction += (c - '0') * scale;
  }
  const int64_t ratio = *units * WatchCondition::kRatioScale + fraction;
  return ratio > kLargestRatio * WatchCondition::kRatioScale ? std::nullopt
                                                             : std::optional<int64_t>(ratio);
}

}  // namespace

std::string_view WatchKindName(WatchKind kind) { return kKindNames[static_cast<size_t>(kind)]; }

std::optional<WatchKind> WatchKindNamed(std::string_view name) {
  for (size_t i = 0; i < kKindNames.size(); ++i) {
    if (kKindNames[i] == name) return static_cast<WatchKind>(i);
  }
  return std::nullopt;
}

std::optional<WatchCondition> ParseWatchCondition(std::string_view text) {
  text = TrimBlanks(text);
  WatchCondition condition;
  if (text == kRecord) {
    condition.kind = WatchCondition::Kind::kRecord;
    return condition;
  }
  if (text.starts_with(kLastPrefix)) {
    const std::string_view number = text.substr(kLastPrefix.size());
    const std::optional<int32_t> last = ParseWhole<int32_t>(number);
    if (!last || *last < 0 || number != TrimBlanks(number) || number.front() == '-') {
      return std::nullopt;
    }
    condition.lastAtLeast = *last;
    return condition;
  }
  if (text.starts_with(kRatioPrefix)) {
    const std::optional<int64_t> ratio = ParseRatio(text.substr(kRatioPrefix.size()));
    if (!ratio) return std::nullopt;
    condition.kind = WatchCondition::Kind::kRatioAtLeast;
    condition.ratioAtLeast = *ratio;
    return condition;
  }
  return std::nullopt;
}

std::string WatchConditionText(const WatchCondition& condition) {
  switch (condition.kind) {
    case WatchCondition::Kind::kLastAtLeast:
      return std::string(kLastPrefix) + std::to_string(condition.lastAtLeast);
    case WatchCondition::Kind::kRatioAtLeast: {
      std::string text = std::string(kRatioPrefix) +
                         std::to_string(condition.ratioAtLeast / WatchCondition::kRatioScale);
      std::string decimals = std::to_string(condition.ratioAtLeast % WatchCondition::kRatioScale +
                                            WatchCondition::kRatioScale)
                                 .substr(1);
      while (!decimals.empty() && decimals.back() == '0') decimals.pop_back();
      return decimals.empty() ? text : text + "." + decimals;
    }
    case WatchCondition::Kind::kRecord:
      break;
  }
  return std::string(kRecord);
}

}  // namespace zs
