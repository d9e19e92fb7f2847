#include "core/derivation.h"

#include <charconv>
#include <string_view>

#include "core/settings.h"

namespace zs {

namespace {

// How the value of each search type is written in its tagged text.
struct TaggedTextFormat {
  ListText text;
  SearchType type;
  bool twoDigits;
};

constexpr std::array<TaggedTextFormat, kListTextCount - 1> kTaggedTexts = {{
    {ListText::kTaggedNumbers, SearchType::kNumber, true},
    {ListText::kZodiac, SearchType::kZodiac, true},
    {ListText::kSegment, SearchType::kSegment, false},
    {ListText::kTens, SearchType::kTens, false},
    {ListText::kUnits, SearchType::kUnits, false},
    {ListText::kSum, SearchType::kSum, true},
}};

// Longest item: a count, "X", a value and the blank; the values stay far
// below the buffer even for out-of-range input.
constexpr int kMaxItemChars = 32;

// Every derived value is below 100; the general conversion is kept for
// values outside the derivation's precondition.
char* AppendNumber(char* out, int value, bool twoDigits) {
  if (value < 0 || value >= 100) return std::to_chars(out, out + 16, value).ptr;
  if (twoDigits || value >= 10) *out++ = static_cast<char>('0' + value / 10);
  *out++ = static_cast<char>('0' + value % 10);
  return out;
}

// Number of positions 0..position whose value equals the value at position:
// the running occurrence count written in front of every tagged item.
int OccurrenceCount(const Numbers& values, int position) {
  int count = 0;
  for (int i = 0; i <= position; ++i) count += values[i] == values[position] ? 1 : 0;
  return count;
}

void WriteNumberList(const Numbers& numbers, std::string& text) {
  char buffer[kPositions * kMaxItemChars];
  char* end = buffer;
  for (int number : numbers) {
    end = AppendNumber(end, number, true);
    *end++ = ' ';
  }
  text.assign(buffer, end);
}

void WriteTaggedList(const Numbers& values, bool twoDigits, std::string& text) {
  char buffer[kPositions * kMaxItemChars];
  char* end = buffer;
  for (int i = 0; i < kPositions; ++i) {
    end = AppendNumber(end, OccurrenceCount(values, i), false);
    *end++ = 'X';
    end = AppendNumber(end, values[i], twoDigits);
    *end++ = ' ';
  }
  text.assign(buffer, end);
}

}  // namespace

DerivationRules DerivationRules::From(const Settings& settings) {
  DerivationRules rules;
  rules.zodiacBase = settings.zodiacBase;
  rules.segmentBase = settings.segmentBase;
  rules.issueRule = IssueRule::From(settings);
  return rules;
}

int ZodiacSign(int number, int zodiacYear) {
  const int sign = (zodiacYear - 1972 - (number - 1)) % 12;
  return sign < 0 ? sign + 12 : sign;
}

HistoryRow DeriveRow(const Draw& draw, const DerivationRules& rules) {
  HistoryRow row;
  DeriveRowInto(draw, rules, row);
  return row;
}

void DeriveRowInto(const Draw& draw, const DerivationRules& rules, HistoryRow& row) {
  row.idx = 0;
  row.issue = draw.issue;
  row.nextIssue = FollowingIssue(draw.issue, rules.issueRule);

  DeriveFields(draw.numbers, rules, ZodiacYear(draw.issue, rules.issueRule.threeDigit), row.fields);

  WriteNumberList(draw.numbers, row.texts[static_cast<int>(ListText::kNumbers)]);
  for (const TaggedTextFormat& format : kTaggedTexts) {
    WriteTaggedList(row.fields[static_cast<int>(format.type)], format.twoDigits,
                    row.texts[static_cast<int>(format.text)]);
  }
}

void DeriveFields(const Numbers& numbers, const DerivationRules& rules, int zodiacYear,
                  std::array<Numbers, kSearchTypeCount>& fields) {
  for (int i = 0; i < kPositions; ++i) {
    const int n = numbers[i];
    const int tens = n / 10;
    const int units = n % 10;
    fields[static_cast<int>(SearchType::kNumber)][i] = n;
    fields[static_cast<int>(SearchType::kZodiac)][i] = rules.zodiacBase + ZodiacSign(n, zodiacYear);
    fields[static_cast<int>(SearchType::kTens)][i] = tens;
    fields[static_cast<int>(SearchType::kUnits)][i] = units;
    fields[static_cast<int>(SearchType::kSum)][i] = tens + units;
    fields[static_cast<int>(SearchType::kSegment)][i] = (n - 1) / 4 + rules.segmentBase;
  }
}

}  // namespace zs
