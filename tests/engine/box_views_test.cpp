// The per-box views (statistics, trend rows and footers, omission
// distribution, a combination's hits) against a brute-force reading of the
// stored fields, on random histories across a change of zodiac year, for
// every search type in both position modes and every draw pattern, both
// bases and ranges of every kind: the whole history, a sub-range, a start
// that is not stored, one draw, a start after the end. Chances come from
// going through all C(20, 8) sets of eight numbers.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "analysis/box_statistics.h"
#include "analysis/box_view.h"
#include "analysis/grid_sort.h"
#include "analysis/omission_distribution.h"
#include "analysis/pattern_types.h"
#include "analysis/trend_grid.h"
#include "core/derivation.h"
#include "core/errors.h"
#include "core/issue_number.h"
#include "core/text.h"
#include "tests/support/analysis_histories.h"
#include "tests/support/derivation_rules.h"

namespace zs {
namespace {

constexpr int64_t kSets = 125970;  // C(20, 8)

// Every set of eight numbers of 1..20, as sorted numbers.
const std::vector<std::vector<int>>& AllSets() {
  static const auto* sets = [] {
    auto* all = new std::vector<std::vector<int>>;
    for (uint32_t mask = 0; mask < (1u << 20); ++mask) {
      if (__builtin_popcount(mask) != 8) continue;
      std::vector<int>& set = all->emplace_back();
      for (int n = 1; n <= 20; ++n) {
        if (mask >> (n - 1) & 1) set.push_back(n);
      }
    }
    return all;
  }();
  return *sets;
}

std::string Joined(const std::vector<int>& counts) {
  std::string text;
  for (int count : counts) text += (text.empty() ? "" : ":") + std::to_string(count);
  return text;
}

// The pattern label of a draw read the plain way; "" when it hits no box
// (a repeated number, or 重号 of the first draw).
std::string NaivePattern(PatternType type, std::vector<int> numbers,
                         const std::vector<int>* previous) {
  std::sort(numbers.begin(), numbers.end());
  if (std::unique(numbers.begin(), numbers.end()) != numbers.end()) return "";
  int sum = 0, odd = 0, big = 0, prime = 0, consecutive = 0, repeat = 0;
  std::vector<int> zones(4), remainders(3);
  for (int n : numbers) {
    sum += n;
    odd += n % 2;
    big += n >= 11;
    prime +=
        n == 1 || n == 2 || n == 3 || n == 5 || n == 7 || n == 11 || n == 13 || n == 17 || n == 19;
    consecutive += std::count(numbers.begin(), numbers.end(), n + 1);
    ++zones[size_t(n - 1) / 5];
    ++remainders[size_t(n % 3)];
    if (previous) repeat += std::count(previous->begin(), previous->end(), n) > 0;
  }
  const auto ratio = [](int k) { return std::to_string(k) + ":" + std::to_string(8 - k); };
  switch (type) {
    case PatternType::kTotal:
      return std::to_string(sum / 10 * 10) + "-" + std::to_string(sum / 10 * 10 + 9);
    case PatternType::kTotalTail:
      return std::to_string(sum % 10);
    case PatternType::kSpan:
      return std::to_string(numbers.back() - numbers.front());
    case PatternType::kOddEven:
      return ratio(odd);
    case PatternType::kBigSmall:
      return ratio(big);
    case PatternType::kPrime:
      return ratio(prime);
    case PatternType::kZones:
      return Joined(zones);
    case PatternType::kMod3:
      return Joined(remainders);
    case PatternType::kConsecutive:
      return std::to_string(consecutive);
    case PatternType::kRepeat:
      return previous ? std::to_string(repeat) : "";
  }
  return "";
}

// The labels every set of eight reaches (重号 against 01–08), ordered by
// their numbers, and how many sets reach each.
struct PatternBoxes {
  std::vector<std::string> labels;
  std::map<std::string, int64_t> sets;
};
const PatternBoxes& NaiveBoxes(PatternType type) {
  static std::map<PatternType, PatternBoxes> boxes;
  if (boxes.count(type)) return boxes[type];
  PatternBoxes& found = boxes[type];
  const std::vector<int> previous = {1, 2, 3, 4, 5, 6, 7, 8};
  for (const auto& set : AllSets()) ++found.sets[NaivePattern(type, set, &previous)];
  const auto numbersOf = [](const std::string& label) {
    std::vector<int> numbers;
    for (size_t at = 0; at < label.size();) {
      size_t end = 0;
      numbers.push_back(std::stoi(label.substr(at), &end));
      at += end + 1;
    }
    return numbers;
  };
  for (const auto& entry : found.sets) found.labels.push_back(entry.first);
  std::sort(found.labels.begin(), found.labels.end(),
            [&](const auto& a, const auto& b) { return numbersOf(a) < numbersOf(b); });
  return found;
}

// The brute force: every figure straight from the stored fields; p of a
// per-position box from the attributes the derivation gives all twenty
// numbers of the draw's issue, over every set of eight.
class BruteForce {
 public:
  BruteForce(const HistoryIndex& index, const BoxViewRequest& request, const DerivationRules& rules)
      : index_(index), request_(request), rules_(rules) {
    const SearchRange range = ReadRangeBoxes(request.startBox, request.endBox);
    for (size_t d = 0; d < index.DrawCount(); ++d) {
      if (index.Issue(d) < range.start) begin_ = d + 1;
      if (index.Issue(d) >= range.start && index.Issue(d) <= range.end) end_ = d + 1;
    }
    if (end_ < begin_) end_ = begin_;
    for (size_t d = 0; d < index.DrawCount() && !request.pattern; ++d) {
      std::vector<int>& values = attributes_.emplace_back(21);
      for (const Numbers& eight :
           {Numbers{1, 2, 3, 4, 5, 6, 7, 8}, Numbers{9, 10, 11, 12, 13, 14, 15, 16},
            Numbers{13, 14, 15, 16, 17, 18, 19, 20}}) {
        const HistoryRow row = DeriveRow({index.Issue(d), eight}, rules);
        for (int p = 0; p < kPositions; ++p) {
          values[size_t(eight[size_t(p)])] = row.fields[size_t(request.type)][size_t(p)];
        }
      }
    }
    for (int box = 0; box < BoxCount(); ++box) {
      std::vector<size_t>& before = hitBefore_.emplace_back();
      size_t h = 0;
      for (size_t d = 0; d < index.DrawCount(); ++d) {
        before.push_back(h);
        if (Hits(d, box)) h = d + 1;
      }
    }
  }

  size_t begin() const { return begin_; }
  size_t end() const { return end_; }
  int BoxCount() const {
    return request_.pattern ? int(NaiveBoxes(*request_.pattern).labels.size())
                            : ShownBoxCount(request_.type);
  }
  std::string Label(int box) const {
    return request_.pattern ? NaiveBoxes(*request_.pattern).labels[size_t(box)]
                            : BoxLabel(request_.type, box + 1, request_.bases);
  }

  std::vector<int> DrawnNumbers(size_t draw) const {
    std::vector<int> numbers;
    for (int p = 0; p < kPositions; ++p)
      numbers.push_back(index_.Field(draw, SearchType::kNumber, p));
    return numbers;
  }

  bool Hits(size_t draw, int box) const {
    if (request_.pattern) {
      const std::vector<int> previous = draw == 0 ? std::vector<int>() : DrawnNumbers(draw - 1);
      return NaivePattern(*request_.pattern, DrawnNumbers(draw), draw == 0 ? nullptr : &previous) ==
             Label(box);
    }
    const SearchType type = request_.type;
    const int value = BoxValue(type, box + 1, request_.bases);
    if (!request_.freePositions) {
      const int p = request_.position;
      const int field = type == SearchType::kSum ? index_.Field(draw, SearchType::kTens, p) +
                                                       index_.Field(draw, SearchType::kUnits, p)
                                                 : index_.Field(draw, type, p);
      return field == value;
    }
    for (int p = 0; p < kPositions; ++p) {
      if (index_.Field(draw, type, p) == value) return true;
    }
    return false;
  }

  // p(draw, box) in units of 1 / (8 C(20, 8)).
  int64_t Units(size_t draw, int box) const {
    if (request_.pattern) {
      if (*request_.pattern == PatternType::kRepeat && draw == 0) return 0;
      return 8 * NaiveBoxes(*request_.pattern).sets.at(Label(box));
    }
    std::vector<int> carries(21);  // carries[n]: number n carries the box's value
    const int value = BoxValue(request_.type, box + 1, request_.bases);
    for (int n = 1; n <= 20; ++n) carries[size_t(n)] = attributes_[draw][size_t(n)] == value;
    static std::map<std::pair<std::vector<int>, bool>, int64_t> cache;
    const auto key = std::make_pair(carries, request_.freePositions);
    if (!cache.count(key)) {
      int64_t units = 0;
      for (const auto& set : AllSets()) {
        int carried = 0;
        for (int n : set) carried += carries[size_t(n)];
        units += request_.freePositions ? 8 * (carried > 0) : carried;
      }
      cache[key] = units;
    }
    return cache[key];
  }

  // Omissions of the box's hits among draws [from, to), the draw before
  // `from` counting as a hit.
  std::vector<int32_t> Omissions(int box, size_t from, size_t to, size_t* lastHit = nullptr,
                                 std::vector<size_t>* hitDraws = nullptr) const {
    std::vector<int32_t> omissions;
    size_t previous = from;  // idx of the virtual hit
    for (size_t d = from; d < to; ++d) {
      if (!Hits(d, box)) continue;
      omissions.push_back(static_cast<int32_t>(d + 1 - previous));
      if (hitDraws) hitDraws->push_back(d);
      previous = d + 1;
    }
    if (lastHit) *lastHit = previous;
    return omissions;
  }

  // The thirteen columns after 值 over [from, to).
  std::vector<std::string> Figures(int box, size_t from, size_t to) const {
    size_t lastHit = 0;
    std::vector<size_t> hitDraws;
    const std::vector<int32_t> omissions = Omissions(box, from, to, &lastHit, &hitDraws);
    int32_t smallest = 32767, largest = 32767;
    int64_t sum = 0, run = 0, longest = 0, units = 0;
    std::string largestIssue;
    for (size_t i = 0; i < omissions.size(); ++i) {
      if (i == 0 || omissions[i] < smallest) smallest = omissions[i];
      if (i == 0 || omissions[i] > largest) {
        largest = omissions[i];
        largestIssue = ShownIssue(index_.Issue(hitDraws[i]), false);
      }
      sum += omissions[i];
    }
    for (size_t d = from; d < to; ++d) {
      run = Hits(d, box) ? run + 1 : 0;
      longest = std::max(longest, run);
      units += Units(d, box);
    }
    const int64_t last = static_cast<int64_t>(index_.DrawCount()) + 1 - lastHit;
    const double mean = omissions.empty() ? 0 : double(sum) / double(omissions.size());
    const double theory = double(units) / double(8 * kSets);
    const double draws = double(to - from);
    const double cycle = draws / theory;
    const bool hit = !omissions.empty();
    return {std::to_string(omissions.size()),
            TwoDecimals(theory),
            to == from ? "" : TwoDecimals(100.0 * double(omissions.size()) / draws) + "%",
            std::to_string(smallest),
            std::to_string(largest),
            std::to_string(last),
            hit ? std::to_string(omissions.back()) : "",
            hit ? TwoDecimals(mean) : "",
            hit ? TwoDecimals(double(last) / mean) : "",
            units == 0 ? "" : TwoDecimals(double(last) / cycle),
            units == 0 || !hit ? "" : TwoDecimals(double(omissions.back() - last) / cycle),
            std::to_string(longest),
            largestIssue};
  }

  std::string TrendCell(size_t draw, int box) const {
    if (Hits(draw, box)) return Label(box);
    return std::to_string(draw + 1 - hitBefore_[size_t(box)][draw]);
  }
  int64_t HitOmission(size_t draw, int box) const {
    return Hits(draw, box) ? int64_t(draw + 1 - hitBefore_[size_t(box)][draw]) : 0;
  }

 private:
  const HistoryIndex& index_;
  BoxViewRequest request_;
  DerivationRules rules_;
  size_t begin_ = 0;
  size_t end_ = 0;
  std::vector<std::vector<size_t>> hitBefore_;  // [box][draw]: idx of the last earlier hit
  std::vector<std::vector<int>> attributes_;    // [draw][n]: the value number n carries
};

void ExpectCells(const Grid& grid, size_t row, const std::vector<std::string>& cells) {
  ASSERT_LT(row, grid.RowCount());
  ASSERT_EQ(grid.ColumnCount(), cells.size());
  for (size_t c = 0; c < cells.size(); ++c) {
    EXPECT_EQ(grid.Cell(row, c), cells[c]) << "row " << row << " column " << c;
  }
}

class BoxViewsTest : public ::testing::TestWithParam<uint64_t> {
 protected:
  void SetUp() override {
    random_.seed(GetParam());
    bases_ = {static_cast<int>(GetParam() % 2), static_cast<int>(GetParam() / 2 % 2)};
    const int count = 150 + Pick(0, 150);
    rules_ = testing::Rules(bases_.zodiacBase, bases_.segmentBase);
    // From the last day of a zodiac year (the Spring Festival) into the next.
    std::vector<Draw> draws = testing::RandomDraws(GetParam(), count, 0.2);
    int32_t issue = 14013101;
    for (Draw& draw : draws) {
      draw.issue = issue;
      issue = FollowingIssue(issue, rules_.issueRule);
    }
    history_ = testing::MakeAnalysisHistory(draws, rules_);
  }

  int Pick(int from, int to) { return from + static_cast<int>(random_() % (to - from + 1)); }
  std::string Shown(size_t draw) const { return ShownIssue(history_.index.Issue(draw), false); }

  // The ranges every view is checked on.
  std::vector<std::pair<std::string, std::string>> Ranges() {
    const size_t n = history_.index.DrawCount();
    const size_t a = static_cast<size_t>(Pick(1, static_cast<int>(n) / 2));
    const size_t b = static_cast<size_t>(Pick(static_cast<int>(n) / 2, static_cast<int>(n) - 2));
    const int32_t notStored = history_.index.Issue(a) + 90 - history_.index.Issue(a) % 100;
    return {{Shown(0), Shown(n - 1)},
            {Shown(a), Shown(b)},
            {ShownIssue(notStored, false), Shown(n - 1)},
            {Shown(a), Shown(a)},
            {Shown(b), Shown(a)}};
  }

  std::mt19937_64 random_;
  PanelBases bases_;
  DerivationRules rules_;
  testing::AnalysisHistory history_;
};

TEST_P(BoxViewsTest, MatchBruteForce) {
  const HistoryIndex& index = history_.index;
  // Every per-position type in both modes, then every draw pattern.
  std::vector<BoxViewRequest> requests;
  for (int t = 0; t < kSearchTypeCount; ++t) {
    for (bool free : {true, false}) {
      BoxViewRequest& request = requests.emplace_back();
      request.type = static_cast<SearchType>(t);
      request.freePositions = free;
      request.position = Pick(0, kPositions - 1);
      request.bases = bases_;
    }
  }
  for (int t = 0; t < kPatternTypeCount; ++t) {
    requests.emplace_back().pattern = static_cast<PatternType>(t);
  }
  for (BoxViewRequest request : requests) {
    for (const auto& [from, to] : Ranges()) {
      request.startBox = from;
      request.endBox = to;
      SCOPED_TRACE("type " + std::to_string(int(request.type)) + " pattern " +
                   (request.pattern ? PatternTypeName(*request.pattern) : "-") +
                   (request.freePositions ? " free " : " fixed ") + from + ".." + to +
                   " position " + std::to_string(request.position));
      const BoxView view(std::make_shared<const HistoryIndex>(index), request);
      const BruteForce brute(index, request, rules_);
      const size_t rows = brute.end() - brute.begin();
      ASSERT_EQ(view.RowCount(), rows);
      ASSERT_EQ(view.BoxCount(), brute.BoxCount());

      const Grid statistics = BoxStatisticsGrid(view);
      for (int box = 0; box < view.BoxCount(); ++box) {
        std::vector<std::string> expected = {brute.Label(box)};
        for (std::string& cell : brute.Figures(box, brute.begin(), brute.end())) {
          expected.push_back(std::move(cell));
        }
        ExpectCells(statistics, static_cast<size_t>(box), expected);
      }

      // The whole range, then a window inside it, and one running past its end.
      const size_t first = rows == 0 ? 0 : static_cast<size_t>(Pick(0, int(rows) - 1));
      const size_t count = static_cast<size_t>(Pick(1, 40));
      const std::vector<std::pair<size_t, size_t>> windows = {
          {0, rows}, {first, count}, {first, rows + 5}};
      for (const auto& [start, length] : windows) {
        const size_t shown = std::min(length, rows - start);
        const Grid trend = TrendGrid(view, start, length);
        ASSERT_EQ(trend.RowCount(), shown);
        for (size_t r = 0; r < shown; ++r) {
          const size_t draw = brute.begin() + start + r;
          std::vector<std::string> expected = {Shown(draw)};
          for (int box = 0; box < view.BoxCount(); ++box) {
            expected.push_back(brute.TrendCell(draw, box));
            EXPECT_EQ(TrendHitOmission(view, start + r, box), brute.HitOmission(draw, box));
          }
          ExpectCells(trend, r, expected);
        }
        const Grid footer = TrendFooterGrid(view, start, length);
        ASSERT_EQ(footer.RowCount(), 5u);
        for (int box = 0; box < view.BoxCount(); ++box) {
          const size_t from = brute.begin() + start;
          const auto figures = brute.Figures(box, from, from + shown);
          const size_t c = static_cast<size_t>(box) + 1;
          EXPECT_EQ(footer.Cell(0, c), figures[0]);
          EXPECT_EQ(footer.Cell(1, c), figures[7]);
          EXPECT_EQ(footer.Cell(2, c), figures[4]);
          EXPECT_EQ(footer.Cell(3, c), figures[11]);
          EXPECT_EQ(footer.Cell(4, c), figures[5]);
        }
      }

      const int box = Pick(0, view.BoxCount() - 1);
      std::map<int32_t, int64_t> expected;
      for (int32_t omission : brute.Omissions(box, brute.begin(), brute.end())) {
        ++expected[omission];
      }
      std::vector<OmissionCount> expectedCounts;
      for (const auto& [omission, hits] : expected) expectedCounts.push_back({omission, hits});
      EXPECT_EQ(OmissionDistribution(BoxHits(view, box).hits), expectedCounts);
    }
  }
}

// A combination of the omission table is read back from its labels: the
// hits are the draws of the range carrying every one of its values.
TEST_P(BoxViewsTest, CombinationHitsMatchBruteForce) {
  const HistoryIndex& index = history_.index;
  for (int t = 0; t < kSearchTypeCount; ++t) {
    for (const auto& [from, to] : Ranges()) {
      BoxViewRequest request;
      request.type = static_cast<SearchType>(t);
      request.bases = bases_;
      request.startBox = from;
      request.endBox = to;
      const BruteForce brute(index, request, rules_);
      std::vector<int> boxes = {Pick(0, ShownBoxCount(request.type) - 1),
                                Pick(0, ShownBoxCount(request.type) - 1)};
      const std::string combination = BoxLabel(request.type, boxes[0] + 1, bases_) + " " +
                                      BoxLabel(request.type, boxes[1] + 1, bases_);
      SCOPED_TRACE("type " + std::to_string(t) + " " + combination + " " + from + ".." + to);
      std::vector<int64_t> expected;
      for (size_t d = brute.begin(); d < brute.end(); ++d) {
        if (brute.Hits(d, boxes[0]) && brute.Hits(d, boxes[1])) {
          expected.push_back(static_cast<int64_t>(d) + 1);
        }
      }
      const auto hits = CombinationHits(index, request.type, bases_, combination, from, to);
      ASSERT_TRUE(hits.has_value());
      std::vector<int64_t> actual;
      for (const Hit& hit : hits->hits) actual.push_back(hit.idx);
      EXPECT_EQ(actual, expected);
    }
  }
}

TEST(BoxViewsRefusals, BadInputs) {
  const auto history =
      testing::MakeAnalysisHistory(testing::RandomDraws(7, 30, 0), testing::Rules());
  const std::string first = ShownIssue(history.index.Issue(0), false);
  BoxViewRequest request;
  request.startBox = "abc";
  request.endBox = first;
  EXPECT_THROW(BoxView(std::make_shared<const HistoryIndex>(history.index), request), InputError);
  for (const char* combination : {"", "01 21", "鼠", "1"}) {
    EXPECT_FALSE(CombinationHits(history.index, SearchType::kNumber, {}, combination, first, first))
        << combination;
  }
}

// The chart's bins: one per omission up to 40 distinct omissions, then the
// narrowest of 1, 2, 5, 10, 20, … wide that needs at most 40 bins.
TEST(OmissionBins, WidthsAndEdges) {
  const auto counts = [](int32_t first, int32_t last, int32_t step) {
    std::vector<OmissionCount> all;
    for (int32_t omission = first; omission <= last; omission += step) all.push_back({omission, 1});
    return all;
  };
  std::vector<OmissionCount> spread = counts(10, 400, 10);
  spread.insert(spread.begin(), {1, 3});
  const struct {
    std::vector<OmissionCount> counts;
    size_t bins;
    OmissionBin first, last;
  } cases[] = {
      {counts(1, 40, 1), 40, {1, 1, 1}, {40, 40, 1}},
      {counts(3, 400, 9), 40, {0, 9, 1}, {390, 399, 2}},  // 45 omissions, 10 wide
      {counts(1, 41, 1), 21, {0, 1, 1}, {40, 41, 2}},
      {counts(1, 100, 1), 21, {0, 4, 4}, {100, 104, 1}},
      {spread, 21, {0, 19, 4}, {400, 419, 1}},
  };
  for (const auto& c : cases) {
    const std::vector<OmissionBin> bins = OmissionBins(c.counts);
    ASSERT_EQ(bins.size(), c.bins) << c.counts.size();
    EXPECT_EQ(bins.front(), c.first);
    EXPECT_EQ(bins.back(), c.last);
    int64_t hits = 0;
    for (const OmissionBin& bin : bins) hits += bin.hits;
    EXPECT_EQ(hits, static_cast<int64_t>(c.counts.size()) + (c.counts == spread ? 2 : 0));
  }
  EXPECT_TRUE(OmissionBins({}).empty());
}

// Sorting a statistics column: numbers and percentages by value (not by
// text), other texts
// after them, empty cells last either way, ties in their former order.
TEST(GridSort, NumbersByValueEmptyLast) {
  Grid grid({"值", "平均遗漏"});
  for (const auto& [label, cell] : std::vector<std::pair<std::string, std::string>>{
           {"a", "10.50"}, {"b", ""}, {"c", "9.25%"}, {"d", "x"}, {"e", "10.50"}, {"f", "-1"}}) {
    grid.AddRow({label, cell});
  }
  const struct {
    bool descending;
    std::string order;
  } cases[] = {{false, "fcaedb"}, {true, "daecfb"}};
  for (const auto& c : cases) {
    const Grid sorted = SortedByColumn(grid, 1, c.descending);
    std::string order;
    for (size_t row = 0; row < sorted.RowCount(); ++row) order += sorted.Cell(row, 0);
    EXPECT_EQ(order, c.order) << c.descending;
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, BoxViewsTest, ::testing::Range<uint64_t>(1, 5));

}  // namespace
}  // namespace zs
