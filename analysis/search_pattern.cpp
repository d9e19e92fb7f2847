#include "analysis/search_pattern.h"

#include <map>

#include "analysis/history_index.h"
#include "analysis/zodiac_names.h"
#include "core/text.h"

namespace zs {

std::vector<Criterion> PatternCriteria(const SearchPattern& pattern, const PositionChoice& chosen) {
  std::vector<Criterion> criteria;
  std::map<int, int> occurrences;
  for (int p = 0; p < kPositions; ++p) {
    if (!chosen[p]) continue;
    Criterion criterion;
    criterion.free = pattern.freePositions;
    criterion.position = p;
    criterion.value = pattern.values[p];
    if (pattern.freePositions && pattern.type != SearchType::kNumber) {
      criterion.count = ++occurrences[criterion.value];
    }
    criteria.push_back(criterion);
  }
  return criteria;
}

const DrawSet* CriterionDraws(const HistoryIndex& index, SearchType type,
                              const Criterion& criterion) {
  if (!criterion.free) return index.AtPosition(type, criterion.position, criterion.value);
  return index.AtLeast(type, criterion.value, criterion.count);
}

std::string PatternValueName(SearchType type, int value, int zodiacBase) {
  if (type == SearchType::kZodiac) {
    std::string name = ZodiacName(value - zodiacBase);
    if (!name.empty()) return name;
  }
  return TwoDigits(value);
}

}  // namespace zs
