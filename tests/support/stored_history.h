// Test histories in a store: draws made up from their issues, and the whole
// store read back.
#ifndef ZEPHYRSTAT_TESTS_SUPPORT_STORED_HISTORY_H_
#define ZEPHYRSTAT_TESTS_SUPPORT_STORED_HISTORY_H_

#include <cstdint>
#include <vector>

#include "core/draw.h"
#include "store/history_store.h"

namespace zs::testing {

// A draw of `issue`: distinct numbers that depend on the issue, so a row
// stored in the wrong place or with a shifted column shows up.
Draw DrawOf(int32_t issue);

// Every stored row in issue order as ForEachRow reads it (idx, issues,
// fields), with the texts the table holds beside it, so a check of whole rows
// also sees texts written wrongly.
std::vector<HistoryRow> StoredRows(HistoryStore& store);

}  // namespace zs::testing

#endif  // ZEPHYRSTAT_TESTS_SUPPORT_STORED_HISTORY_H_
