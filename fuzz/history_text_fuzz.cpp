// The history-text reader: any bytes read line by line give the same draws
// as the whole text decoded first, and every draw kept is sound.
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string_view>

#include "core/history_text.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const zs::Numbers inherited{1, 2, 3, 4, 5, 6, 7, 8};
  for (const zs::LineLayout layout : {zs::LineLayout::kHistoryFile, zs::LineLayout::kBackupFile}) {
    const zs::DrawReadout whole = zs::ReadDraws(zs::DecodeText(bytes), layout, 14011684, inherited);
    const zs::DrawReadout byLine = zs::ReadDrawsFromBytes(bytes, layout, 14011684, inherited,
                                                          std::numeric_limits<size_t>::max());
    ZS_FUZZ_CHECK(whole.draws == byLine.draws);
    ZS_FUZZ_CHECK(whole.skipped == byLine.skipped && whole.inherited == byLine.inherited);
    for (const zs::Draw& draw : whole.draws) {
      ZS_FUZZ_CHECK(draw.issue > 0);
      for (int number : draw.numbers) {
        ZS_FUZZ_CHECK(number >= zs::kMinNumber && number <= zs::kMaxNumber);
      }
    }
  }
  return 0;
}
