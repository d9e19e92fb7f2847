// The draw derivation: expands a draw (issue and eight numbers) into the row
// that the history stores: per position the number, zodiac code, tens and
// units digit, digit sum and segment code; the seven tagged list texts; and
// the issue that follows it (QQH).
#ifndef ZEPHYRSTAT_CORE_DERIVATION_H_
#define ZEPHYRSTAT_CORE_DERIVATION_H_

#include "core/draw.h"
#include "core/issue_number.h"

namespace zs {

struct Settings;

struct DerivationRules {
  int zodiacBase = 1;   // zodiac code of sign k is zodiacBase + k (鼠 = 0)
  int segmentBase = 1;  // segment code is (n − 1) / 4 + segmentBase
  IssueRule issueRule;

  static DerivationRules From(const Settings& settings);
};

// Zodiac sign 0..11 (鼠 = 0) of number n in a zodiac year: 01 carries the
// sign of the year itself, 02 the sign of the year before, and so on.
int ZodiacSign(int number, int zodiacYear);

// Precondition: every number is 1..20 (callers refuse other draws).
HistoryRow DeriveRow(const Draw& draw, const DerivationRules& rules);
// The same into `row`, reusing the room of its texts: a bulk write deriving
// row after row into the same rows allocates nothing.
void DeriveRowInto(const Draw& draw, const DerivationRules& rules, HistoryRow& row);
// The per-position fields alone (HistoryRow::fields), for the zodiac year of
// the draw's issue (ZodiacYear): a check of many stored rows finds that year
// once for all draws of a day.
void DeriveFields(const Numbers& numbers, const DerivationRules& rules, int zodiacYear,
                  std::array<Numbers, kSearchTypeCount>& fields);

}  // namespace zs

#endif  // ZEPHYRSTAT_CORE_DERIVATION_H_
