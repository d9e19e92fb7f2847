#include "tests/support/stored_history.h"

#include <stdexcept>
#include <string>

namespace zs::testing {

Draw DrawOf(int32_t issue) {
  Draw draw{issue, {}};
  for (int position = 0; position < kPositions; ++position) {
    draw.numbers[position] = (issue + 3 * position) % 20 + 1;
  }
  return draw;
}

std::vector<HistoryRow> StoredRows(HistoryStore& store) {
  std::vector<HistoryRow> rows;
  store.ForEachRow([&rows](const HistoryRow& row) { rows.push_back(row); });
  std::string columns;
  for (const char* column : kListTextColumns) {
    columns += columns.empty() ? "" : ", ";
    columns += column;
  }
  // The order ForEachRow reads in.
  Statement select = store.db().Prepare("SELECT " + columns + " FROM Lishi ORDER BY SQQH, rowid");
  for (HistoryRow& row : rows) {
    if (!select.Step()) throw std::logic_error("StoredRows: the table lost rows while read");
    for (int text = 0; text < kListTextCount; ++text) row.texts[text] = select.Text(text);
  }
  return rows;
}

}  // namespace zs::testing
