#include "frontend/memory_reuse.h"

#include "core/platform.h"

namespace zs {
namespace {

// The largest block glibc will carve from its heap rather than map on its
// own (its ceiling on 64-bit systems); mapped blocks go back to the system
// whenever they are freed, heap blocks stay for reuse.
constexpr int kLargestHeapBlock = 32 << 20;

}  // namespace

bool RetainFreedMemoryForReuse() {
  if (!platform::TuneAllocator(kLargestHeapBlock, kRetainedFreeBytes)) return false;
  platform::BackHeapWithHugePages(kHugePageHeapBytes);
  return true;
}

}  // namespace zs
