// The compact copy of the history that opening the analysis index reads: the
// table DrawPack holds every draw's issue and its 48 stored fields as bytes,
// in chunks of kPackChunkDraws draws in SQQH order, so reading the whole
// history is one pass over about 26 MB instead of the table Lishi with its
// texts (190 MB for 500,000 draws).
//
// The store rewrites the chunks a change touches in the same transaction as
// the change (DrawPackUpdate). Triggers on Lishi empty DrawPack whenever
// anything else inserts, deletes or changes a stored draw, so a stale copy is
// never read: an empty DrawPack means "read Lishi". A complete copy always
// has chunk 0, empty for an empty history.
//
// DrawPack and its three triggers are the only schema objects besides Lishi,
// YL and the index SQQH; a database without them opens as before and gets
// them (empty) on open.
#ifndef ZEPHYRSTAT_STORE_DRAW_PACK_H_
#define ZEPHYRSTAT_STORE_DRAW_PACK_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "core/draw.h"

namespace zs {

class Database;

constexpr int kFieldsPerDraw = kSearchTypeCount * kPositions;
constexpr size_t kPackChunkDraws = 4096;

// Draws in SQQH order as the pack holds them.
struct PackedHistory {
  std::vector<int32_t> issues;
  // fields[draw * kFieldsPerDraw + type * kPositions + position]: the stored
  // field L<position+1><letter of type>.
  std::vector<int8_t> fields;

  size_t DrawCount() const { return issues.size(); }
  void Reserve(size_t draws);
  void Add(int32_t issue, const std::array<Numbers, kSearchTypeCount>& rowFields);
  int Field(size_t draw, int type, int position) const {
    return fields[draw * kFieldsPerDraw + static_cast<size_t>(type) * kPositions + position];
  }
};

// True for the table DrawPack (EnsureSchema accepts it beside Lishi and YL).
bool IsDrawPackTable(std::string_view name);
// Whether DrawPack and all of its triggers are there, so its copy can be
// trusted when complete.
bool DrawPackInPlace(Database& db);
// Creates DrawPack and its triggers where absent; when a trigger was missing
// the copy may be stale, so it is emptied. Precondition: Lishi exists.
void EnsureDrawPack(Database& db);

// The complete copy, or nullopt when DrawPack is empty or damaged.
std::optional<PackedHistory> ReadDrawPack(Database& db);

// Keeps DrawPack in step with one writing transaction of the store.
// Construct it inside the transaction before Lishi changes: it lifts the
// triggers for the store's own writes. Then call one Rewrite… and Finish()
// before the commit; a rollback undoes all of it.
class DrawPackUpdate {
 public:
  explicit DrawPackUpdate(Database& db);
  DrawPackUpdate(const DrawPackUpdate&) = delete;
  DrawPackUpdate& operator=(const DrawPackUpdate&) = delete;

  // Lishi changed at draw position `first` (0-based, SQQH order) and after:
  // rewrites the chunks from the one holding `first` by reading them back,
  // or the whole copy when it was not complete before the change.
  void RewriteFrom(int64_t first);
  // The history now holds exactly `packed`.
  void RewriteAll(const PackedHistory& packed);
  // Puts the triggers back.
  void Finish();

 private:
  void WriteChunks(const PackedHistory& packed, size_t firstChunk);
  Database& db_;
  bool wasComplete_ = false;
};

}  // namespace zs

#endif  // ZEPHYRSTAT_STORE_DRAW_PACK_H_
