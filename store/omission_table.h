// The omission table YL: one row per pattern of the latest group
// calculation (label, smallest, largest and last omission, and their ratio
// kept as a single), in the database file beside the history.
#ifndef ZEPHYRSTAT_STORE_OMISSION_TABLE_H_
#define ZEPHYRSTAT_STORE_OMISSION_TABLE_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zs {

class HistoryStore;

struct OmissionRecord {
  std::string content;   // content
  int32_t smallest = 0;  // intMinYL
  int32_t largest = 0;   // intMaxYL
  int32_t last = 0;      // intLstYl
  float ratio = 0;       // sglLlr
  friend bool operator==(const OmissionRecord&, const OmissionRecord&) = default;
};

enum class OmissionSortKey { kSmallest, kLargest, kLast, kRatio };

// The column name of a key: intMinYL, intMaxYL, intLstYl, sglLlr.
std::string_view SortKeyColumn(OmissionSortKey key);
// The key of a column name (exact spelling); nullopt for any other text.
std::optional<OmissionSortKey> SortKeyOfColumnName(std::string_view name);

// Replaces every row of YL by `records`, kept in this order, in one change
// of the store: on failure YL is left as it was.
void ReplaceOmissionRecords(HistoryStore& store, const std::vector<OmissionRecord>& records);

enum class SortDirection { kAscending, kDescending };

// The rows of YL ordered by `key`, ascending unless told otherwise; rows with
// equal keys keep the order in which they were stored, either way.
std::vector<OmissionRecord> LoadOmissionRecords(
    HistoryStore& store, OmissionSortKey key, SortDirection direction = SortDirection::kAscending);
// `records` in the order LoadOmissionRecords reads them (ascending) after
// ReplaceOmissionRecords(records).
std::vector<OmissionRecord> SortOmissionRecords(std::vector<OmissionRecord> records,
                                                OmissionSortKey key);

}  // namespace zs

#endif  // ZEPHYRSTAT_STORE_OMISSION_TABLE_H_
