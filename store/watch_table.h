// The watch list (关注) in the database file beside the history: one row per
// watch in the table Watchlist, made on the first watch stored. Changes of
// the history leave it alone (watches are patterns, not draws), and numbers
// are never handed out twice in one file, so a removed watch's number never
// comes to mean another.
#ifndef ZEPHYRSTAT_STORE_WATCH_TABLE_H_
#define ZEPHYRSTAT_STORE_WATCH_TABLE_H_

#include <cstdint>
#include <string_view>
#include <vector>

#include "core/watch.h"

namespace zs {

class HistoryStore;

// Whether `name` is the watch table (as SQL compares names).
bool IsWatchTable(std::string_view name);

// Every stored watch, ascending by number; none when the table is absent.
// Throws StoreError naming the watch when a row cannot be read.
std::vector<Watch> LoadWatches(HistoryStore& store);

// Stores `watch` (its number disregarded) in one change of the store and
// returns the number it was given.
int64_t AddWatch(HistoryStore& store, const Watch& watch);

// Removes the watch `number` in one change; false when there is none.
bool RemoveWatch(HistoryStore& store, int64_t number);

}  // namespace zs

#endif  // ZEPHYRSTAT_STORE_WATCH_TABLE_H_
