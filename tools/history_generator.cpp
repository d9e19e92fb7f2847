#include "tools/history_generator.h"

#include <cmath>
#include <random>

namespace zs {

namespace {

// Length of the yearly break; it starts on the Spring Festival eve.
constexpr int kSpringFestivalBreakDays = 7;

// Sampling on top of the raw engine output, so that the same seed gives the
// same history with every standard library (the library's distributions are
// not specified bit for bit).
class Sampler {
 public:
  explicit Sampler(uint64_t seed) : engine_(seed) {}

  // Uniform in 0..bound−1, without modulo bias.
  uint64_t Below(uint64_t bound) {
    const uint64_t limit = UINT64_MAX - UINT64_MAX % bound;
    uint64_t value;
    do {
      value = engine_();
    } while (value >= limit);
    return value % bound;
  }

  // Uniform in [0, 1).
  double Unit() { return static_cast<double>(engine_() >> 11) * 0x1.0p-53; }

 private:
  std::mt19937_64 engine_;
};

bool InSpringFestivalBreak(const Date& day) {
  // The festival falls between 21 January and 20 February, so its break
  // never crosses a year end.
  const int festival = SpringFestival(day.year);
  if (festival == 0) return false;
  const Date eve = AddDays(Date{day.year, festival / 100, festival % 100}, -1);
  const int64_t offset = DaysBetween(eve, day);
  return offset >= 0 && offset < kSpringFestivalBreakDays;
}

Numbers DrawNumbers(Sampler& sampler) {
  std::array<int, kMaxNumber> pool;
  for (int i = 0; i < kMaxNumber; ++i) pool[i] = kMinNumber + i;
  Numbers numbers;
  for (int i = 0; i < kPositions; ++i) {
    const auto pick = i + static_cast<int>(sampler.Below(kMaxNumber - i));
    std::swap(pool[i], pool[pick]);
    numbers[i] = pool[i];
  }
  return numbers;
}

int DrawsOnDay(const Date& day, int drawsPerDay, bool springFestivalBreak) {
  return springFestivalBreak && InSpringFestivalBreak(day) ? 0 : drawsPerDay;
}

}  // namespace

std::vector<Draw> GenerateHistory(const GeneratorOptions& options) {
  std::vector<Draw> draws;
  if (options.last < options.first || options.drawsPerDay <= 0) return draws;
  const IssueRule rule{options.drawsPerDay, options.threeDigit};
  const int64_t days = DaysBetween(options.first, options.last) + 1;
  draws.reserve(static_cast<size_t>(days * options.drawsPerDay));

  Sampler sampler(options.seed);
  for (Date day = options.first; day <= options.last; day = AddDays(day, 1)) {
    const int drawsToday = DrawsOnDay(day, options.drawsPerDay, options.springFestivalBreak);
    const int32_t firstIssue = FirstIssueOfDay(day, rule);
    for (int sequence = 0; sequence < drawsToday; ++sequence) {
      // The numbers are drawn for a missing issue too, so that a change of
      // the missing rate leaves every other draw as it was.
      Numbers numbers = DrawNumbers(sampler);
      if (sampler.Unit() < options.missingRate) continue;
      draws.push_back(Draw{firstIssue + sequence, numbers});
    }
  }
  return draws;
}

GeneratorOptions OptionsForDrawCount(int64_t count, const Date& lastDay, int drawsPerDay,
                                     uint64_t seed) {
  GeneratorOptions options;
  options.last = lastDay;
  options.drawsPerDay = drawsPerDay;
  options.seed = seed;
  // Room for the issues left out at random, with a margin; callers that want
  // exactly `count` draws keep the last `count`.
  const auto wanted = static_cast<int64_t>(std::ceil(static_cast<double>(count) /
                                                     (1.0 - options.missingRate) * 1.01)) +
                      1;
  int64_t capacity = 0;
  Date first = lastDay;
  while (drawsPerDay > 0) {
    capacity += DrawsOnDay(first, drawsPerDay, options.springFestivalBreak);
    if (capacity >= wanted) break;
    first = AddDays(first, -1);
  }
  options.first = first;
  return options;
}

std::string HistoryFileText(const std::vector<Draw>& draws, bool threeDigit) {
  std::string text;
  // 11 issue characters and blanks, 8 numbers with their blanks, CR LF.
  text.reserve(draws.size() * 36);
  for (const Draw& draw : draws) {
    text += StoredDigits(draw.issue, threeDigit);
    text += threeDigit ? " " : "  ";
    for (int i = 0; i < kPositions; ++i) {
      if (i > 0) text += ' ';
      text += static_cast<char>('0' + draw.numbers[i] / 10);
      text += static_cast<char>('0' + draw.numbers[i] % 10);
    }
    text += "\r\n";
  }
  return text;
}

}  // namespace zs
