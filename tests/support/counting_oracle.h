// The counting scheme done literally in SQL, over a database that holds the
// history table Lishi with its work columns: reset intTh, one UPDATE per
// criterion (LIKE tests on the tagged list texts, or equality of the
// per-position fields), then the rows of the range whose counter equals the
// number of criteria; the partial search marks bolOk over every choice of
// positions and tests a copy in txtHisP6; the group calculation counts every
// combination of checked boxes this way and computes each row as the
// omission row writer does.
//
// It is the reference the index-based analyses are checked against, and the
// baseline they are measured against. Ranges are stored issues; the omission
// figures follow the program's rules (32-bit counters, the virtual previous
// hit being the number of draws below the start issue).
#ifndef ZEPHYRSTAT_TESTS_SUPPORT_COUNTING_ORACLE_H_
#define ZEPHYRSTAT_TESTS_SUPPORT_COUNTING_ORACLE_H_

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "analysis/search_pattern.h"
#include "analysis/selection_panel.h"
#include "store/database.h"
#include "store/omission_table.h"

namespace zs::testing {

struct OracleHits {
  std::string label;
  std::vector<int64_t> idx;
  std::vector<int32_t> omissions;
  int32_t smallest = 0;
  int32_t largest = 0;
  int32_t last = 0;
  double ratio = 0;
};

class CountingOracle {
 public:
  explicit CountingOracle(Database& db) : db_(db) {}

  OracleHits PositionSearch(const SearchPattern& pattern, const PositionChoice& chosen,
                            int32_t start, int32_t end);
  OracleHits PartialSearch(const SearchPattern& pattern, int partSize,
                           const std::string& partSizeText, int32_t start, int32_t end);
  // `checked`: the values of the twenty selection boxes. nullopt when the
  // group size refuses the number of checked boxes.
  std::optional<std::vector<OmissionRecord>> GroupCalculation(SearchType type,
                                                              const std::array<bool, 20>& checked,
                                                              int groupSize,
                                                              const PanelBases& bases,
                                                              int32_t start, int32_t end);

 private:
  // Reads the hits of the range (rows satisfying `condition`) with their
  // omissions and the figures.
  OracleHits ReadHits(const std::string& condition, int32_t start, int32_t end);
  void AddOneWhere(const std::string& condition);
  void AddFixedCriterion(SearchType type, int position, int value);

  Database& db_;
};

}  // namespace zs::testing

#endif  // ZEPHYRSTAT_TESTS_SUPPORT_COUNTING_ORACLE_H_
