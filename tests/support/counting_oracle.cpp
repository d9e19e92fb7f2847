#include "tests/support/counting_oracle.h"

#include <climits>
#include <cstdlib>
#include <functional>
#include <map>

namespace zs::testing {

namespace {

constexpr std::array<const char*, 6> kListField = {"txtHisLst",    "txtHisLstSx", "txtHisLstTou",
                                                   "txtHisLstWei", "txtHisLstHe", "txtHisLstDs"};
constexpr std::array<char, 6> kLetter = {'A', 'B', 'E', 'F', 'G', 'H'};
constexpr std::array<int, 6> kBoxCount = {20, 12, 5, 10, 13, 7};
constexpr std::array<const char*, 12> kZodiacName = {"鼠", "牛", "虎", "兔", "龙", "蛇",
                                                     "马", "羊", "猴", "鸡", "狗", "猪"};

// The "00" format of a whole number.
std::string Format00(int value) {
  std::string digits = std::to_string(std::abs(value));
  if (digits.size() < 2) digits = "0" + digits;
  return value < 0 ? "-" + digits : digits;
}

// The token of value v with occurrence count c on the type's list text.
std::string Token(SearchType type, int c, int v) {
  switch (type) {
    case SearchType::kNumber:
      return Format00(v);
    case SearchType::kZodiac:
    case SearchType::kSum:
      return std::to_string(c) + "X" + Format00(v);
    default:
      return std::to_string(c) + "X" + std::to_string(v);
  }
}

// Jet's LIKE "*token*" in SQLite's spelling.
std::string LikeCondition(const std::string& field, const std::string& token) {
  return "[" + field + "] LIKE '%" + token + "%'";
}

int TypeIndex(SearchType type) { return static_cast<int>(type); }

}  // namespace

void CountingOracle::AddOneWhere(const std::string& condition) {
  db_.Execute("UPDATE [Lishi] SET [intTh]=([intTh] +1) WHERE " + condition);
}

void CountingOracle::AddFixedCriterion(SearchType type, int position, int value) {
  const std::string p = std::to_string(position);
  if (type == SearchType::kSum) {
    AddOneWhere("([L" + p + "E] + [L" + p + "F]) = " + std::to_string(value));
  } else {
    AddOneWhere("[L" + p + kLetter[TypeIndex(type)] + "] = " + std::to_string(value));
  }
}

OracleHits CountingOracle::ReadHits(const std::string& condition, int32_t start, int32_t end) {
  OracleHits result;
  Statement hits = db_.Prepare(
      "SELECT [idx] FROM [lishi] WHERE [SQQH] >= " + std::to_string(start) +
      " AND  [SQQH] <= " + std::to_string(end) + " AND " + condition + " ORDER BY [IDX]");
  Statement below =
      db_.Prepare("SELECT COUNT(*) FROM [lishi] WHERE [SQQH] < " + std::to_string(start));
  below.Step();
  int64_t prev = below.Int(0);
  int32_t smallest = INT32_MAX;
  int32_t largest = 0;
  while (hits.Step()) {
    const int64_t idx = hits.Int(0);
    const auto gap = static_cast<int32_t>(idx - prev);
    result.idx.push_back(idx);
    result.omissions.push_back(gap);
    if (gap > largest) largest = gap;
    if (gap < smallest) smallest = gap;
    prev = idx;
  }
  if (result.idx.empty()) smallest = largest = 32767;
  Statement newest = db_.Prepare("SELECT [idx] FROM lishi ORDER BY SQQH DESC LIMIT 1");
  const int64_t newestIdx = newest.Step() ? newest.Int(0) : 0;
  result.smallest = smallest;
  result.largest = largest;
  result.last = static_cast<int32_t>(newestIdx + 1 - prev);
  result.ratio = static_cast<double>(largest) / result.last;
  return result;
}

OracleHits CountingOracle::PositionSearch(const SearchPattern& pattern,
                                          const PositionChoice& chosen, int32_t start,
                                          int32_t end) {
  const SearchType type = pattern.type;
  std::string label;
  int n = 0;
  db_.Execute("UPDATE [Lishi] SET [intTh]=0");
  std::map<int, int> counters;
  for (int i = 1; i <= 8; ++i) {
    if (!chosen[i - 1]) continue;
    const int v = pattern.values[i - 1];
    ++n;
    if (pattern.freePositions) {
      label += pattern.boxTexts[i - 1] + " ";
      int c = 0;
      if (type != SearchType::kNumber) c = ++counters[v];
      AddOneWhere(LikeCondition(kListField[TypeIndex(type)], Token(type, c, v)));
    } else {
      label += Format00(v) + " ";
      AddFixedCriterion(type, i, v);
    }
  }
  OracleHits result = ReadHits("[intTh] = " + std::to_string(n), start, end);
  result.label = label;
  return result;
}

OracleHits CountingOracle::PartialSearch(const SearchPattern& pattern, int k,
                                         const std::string& partSizeText, int32_t start,
                                         int32_t end) {
  const SearchType type = pattern.type;
  const std::string field = kListField[TypeIndex(type)];
  db_.Execute("UPDATE [Lishi] SET [bolOk]= FALSE");
  if (pattern.freePositions) db_.Execute("UPDATE [Lishi] SET [txtHisP6]= [" + field + "]");
  if (k >= 1 && k <= 6) {
    std::vector<int> choice(k);
    // p1 runs 1..9-k, each further pj from p(j-1)+1 to 8-k+j.
    std::function<void(int, int)> choose = [&](int j, int from) {
      if (j == k) {
        db_.Execute("UPDATE [Lishi] SET [intTh]=0");
        if (pattern.freePositions) {
          std::map<int, int> counters;
          if (type != SearchType::kNumber) {
            for (int p : choice) ++counters[pattern.values[p - 1]];
          }
          for (int p : choice) {
            const int v = pattern.values[p - 1];
            AddOneWhere(LikeCondition("txtHisP6", Token(type, counters[v], v)));
          }
        } else {
          std::array<bool, 9> marked{};
          for (int p : choice) marked[p] = true;
          for (int p = 1; p <= 8; ++p) {
            if (marked[p]) AddFixedCriterion(type, p, pattern.values[p - 1]);
          }
        }
        db_.Execute("UPDATE [Lishi] SET [bolOk]= TRUE WHERE [intTh] = " + std::to_string(k));
        return;
      }
      for (int p = from; p <= 8 - k + j + 1; ++p) {
        choice[j] = p;
        choose(j + 1, p + 1);
      }
    };
    choose(0, 1);
  }
  OracleHits result = ReadHits("[bolOk]= TRUE", start, end);
  for (int i = 0; i < 8; ++i) result.label += pattern.boxTexts[i] + " ";
  result.label += "(" + partSizeText + ")";
  return result;
}

std::optional<std::vector<OmissionRecord>> CountingOracle::GroupCalculation(
    SearchType type, const std::array<bool, 20>& checked, int k, const PanelBases& bases,
    int32_t start, int32_t end) {
  const int t = TypeIndex(type);
  std::vector<int> selNo;
  for (int box = 1; box <= kBoxCount[t]; ++box) {
    if (checked[box - 1]) selNo.push_back(box);
  }
  const int n = static_cast<int>(selNo.size());
  if ((k == 5 && n > 18) || (k == 6 && n > 16)) return std::nullopt;

  // What box i stands for: its token on the list text and its label.
  auto boxToken = [&](int i) {
    switch (type) {
      case SearchType::kNumber:
        return Format00(i);
      case SearchType::kZodiac:
        return "1X" + Format00(i - 1 + bases.zodiacBase);
      case SearchType::kTens:
      case SearchType::kUnits:
        return "1X" + std::to_string(i - 1);
      case SearchType::kSum:
        return "1X" + Format00(i);
      case SearchType::kSegment:
        return "1X" + std::to_string(i - 1 + bases.segmentBase);
    }
    return std::string();
  };
  auto boxLabel = [&](int i) {
    switch (type) {
      case SearchType::kNumber:
      case SearchType::kSum:
        return Format00(i);
      case SearchType::kZodiac:
        return std::string(kZodiacName[i - 1]);
      case SearchType::kTens:
      case SearchType::kUnits:
        return std::to_string(i - 1);
      case SearchType::kSegment:
        return std::to_string(i - 1 + bases.segmentBase);
    }
    return std::string();
  };

  std::vector<OmissionRecord> rows;
  db_.Execute("UPDATE [Lishi] SET [intTh]=0");
  db_.Execute("UPDATE [Lishi] SET [txtHisP6]= [" + std::string(kListField[t]) + "]");
  if (k < 1 || k > 6 || n < k) return rows;
  std::vector<int> positions(k);
  std::function<void(int, int)> enumerate = [&](int place, int from) {
    if (place == k) {
      db_.Execute("UPDATE [Lishi] SET [intTh]=0");
      std::string content;
      for (int j = 0; j < k; ++j) {
        const int box = selNo[positions[j] - 1];
        AddOneWhere(LikeCondition("txtHisP6", boxToken(box)));
        if (j > 0) content += ' ';
        content += boxLabel(box);
      }
      const OracleHits hits = ReadHits("[intTh] = " + std::to_string(k), start, end);
      rows.push_back(
          OmissionRecord{content, hits.smallest, hits.largest, hits.last,
                         static_cast<float>(static_cast<double>(hits.largest) / hits.last)});
      return;
    }
    for (int p = from; p <= n - k + place + 1; ++p) {
      positions[place] = p;
      enumerate(place + 1, p + 1);
    }
  };
  enumerate(0, 1);
  return rows;
}

}  // namespace zs::testing
