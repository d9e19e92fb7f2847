// The schema of the history file tessera.mdb: the table Lishi (one row per
// draw) with its index SQQH, the omission table YL, and the tables this
// program keeps beside them: DerivedBases (below), DrawPack
// (store/draw_pack.h) and Watchlist (store/watch_table.h).
//
// A file is only ever changed when it is a history file: one holding other
// tables, or a Lishi or YL without their columns, is refused untouched.
// Tables this program added later are made (or given their new columns)
// when first needed, so a file of an earlier version opens as it is.
#ifndef ZEPHYRSTAT_STORE_SCHEMA_H_
#define ZEPHYRSTAT_STORE_SCHEMA_H_

#include <string>
#include <vector>

namespace zs {

class Database;

// The columns of a stored row as the store reads and writes them: idx, SQQH,
// QQH, the 48 per-position fields (position-major: L1A, L1B, L1E … L8H),
// then, `withTexts`, the seven texts. The work columns of the analyses
// (intTh, bolOk, txtHisP6) come last in Lishi and are never copied in or out.
std::vector<std::string> RowColumns(bool withTexts);

// Creates Lishi (every field, the work columns included), YL and the index
// SQQH in a database that has none of them, and adds the index and DrawPack
// where missing. Throws StoreError when the database holds other tables or a
// Lishi or YL of another shape, so a foreign file is never changed.
// Where `mayWrite` is false it only checks: a file without the tables is
// refused, a missing index only costs speed, and a DrawPack without its
// triggers is not read. Returns whether DrawPack can be read.
bool EnsureSchema(Database& db, bool mayWrite = true);

// DerivedBases holds one row: the zodiac and segment bases (SxIni, DsIni)
// every row of Lishi was derived with and, in columns added later, the issue
// rule that wrote QQH (DrawsPerDay, ThreeDigit; NULL when unknown). Files
// of earlier versions lack the table, or the rule's columns.
inline constexpr const char* kBasesTable = "DerivedBases";
bool HasBasesTable(Database& db);
// Creates DerivedBases, empty, when absent.
void EnsureBasesTable(Database& db);
bool HasIssueRuleColumns(Database& db);
// Adds the rule's columns when absent. Precondition: DerivedBases exists.
void EnsureIssueRuleColumns(Database& db);

}  // namespace zs

#endif  // ZEPHYRSTAT_STORE_SCHEMA_H_
