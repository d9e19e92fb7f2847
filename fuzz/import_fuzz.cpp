// The history text import, bytes to store: every text is inspected from
// memory (the parse of outside input, checked on every input), and a text
// that holds draws replaces the history with exactly the draws counted.
// Writing the store costs a thousand times the parse, so the store is
// written once for every number of draws a text yields (the write depends on
// the draws, not on the text they came from), inside a change of the fuzz
// target's own that is rolled back afterwards. A run then tries thousands of
// inputs a second; an input that breaks the write breaks it on its own too.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "core/errors.h"
#include "core/settings.h"
#include "fuzz/fuzz_check.h"
#include "history/import.h"

namespace {

const std::vector<zs::Draw> kBefore = {{14011683, {1, 2, 3, 4, 5, 6, 7, 8}},
                                       {14011684, {20, 19, 18, 17, 16, 15, 14, 13}}};

struct World {
  zs::DerivationRules rules;
  std::unique_ptr<zs::HistoryStore> store;
  zs::ImportBasis basis;  // of kBefore, which the store holds between inputs
  std::unordered_set<int64_t> drawCountsWritten;
};

World& TheWorld() {
  static World world = [] {
    zs::Settings settings;
    settings.edition = zs::EditionChoice::Of(0);
    World made{zs::DerivationRules::From(settings), zs::HistoryStore::OpenMemory(), {}, {}};
    made.store->ReplaceAllDraws(kBefore, made.rules);
    made.basis = zs::ImportBasisOf(*made.store);
    return made;
  }();
  return world;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  World& world = TheWorld();
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  zs::HistoryFileInspection inspection;
  try {
    inspection = zs::InspectHistoryText(text, world.basis, "历史号码.txt");
  } catch (const zs::InputError&) {
    return 0;  // more draws than any history holds: refused before the store
  }
  for (const zs::Draw& draw : inspection.readout.draws) {
    ZS_FUZZ_CHECK(draw.issue > 0);
    for (int number : draw.numbers) ZS_FUZZ_CHECK(number >= 1 && number <= 20);
  }
  if (inspection.draws() == 0 || !world.drawCountsWritten.insert(inspection.draws()).second) {
    return 0;
  }

  // Never committed: the import joins it, and its end puts kBefore back.
  const zs::HistoryStore::Change trial(*world.store);
  const zs::ImportReport report = zs::ImportInspectedFile(*world.store, inspection, world.rules);
  ZS_FUZZ_CHECK(report.stored == inspection.draws() && world.store->Count() == report.stored);
  return 0;
}
