// Storing one typed draw (the eight entry boxes): the draw goes in under the
// next issue that the issue box shows, derived from the last stored issue
// with the current edition's rule.
#ifndef ZEPHYRSTAT_HISTORY_TYPED_ENTRY_H_
#define ZEPHYRSTAT_HISTORY_TYPED_ENTRY_H_

#include <cstdint>
#include <string>

#include "core/derivation.h"
#include "core/errors.h"
#include "store/history_store.h"

namespace zs {

// The typed numbers do not make a draw; `box()` is the first wrong box, 1..8,
// which the message names (第N个框).
class WrongBoxError : public InputError {
 public:
  WrongBoxError(int box, const std::string& message) : InputError(message), box_(box) {}
  int box() const { return box_; }

 private:
  int box_;
};

// Throws WrongBoxError, storing nothing, when a number lies outside 1..20 or
// a number is repeated; InputError when the history is empty (no next issue
// can be derived). The next issue is found
// inside the change that stores the draw, so two programs storing at once
// never take the same issue. Returns the stored issue.
int32_t StoreTypedDraw(HistoryStore& store, const Numbers& numbers, const DerivationRules& rules);

}  // namespace zs

#endif  // ZEPHYRSTAT_HISTORY_TYPED_ENTRY_H_
