// Its own test program: the allocator settings hold for the whole process.
#include "frontend/memory_reuse.h"

#include <gtest/gtest.h>
#include <malloc.h>

#include <cstdlib>
#include <cstring>

namespace zs {
namespace {

// About the text of a hit grid over a long history: a block glibc would map
// on its own, and unmap when freed, by default.
constexpr size_t kResultBytes = size_t{24} << 20;

TEST(MemoryReuseTest, FreedLargeBlocksStayInTheProcessForTheNextResult) {
  ASSERT_TRUE(RetainFreedMemoryForReuse());

  // Through a volatile pointer so that the compiler keeps the allocation.
  char* volatile block = static_cast<char*>(std::malloc(kResultBytes));
  ASSERT_NE(block, nullptr);
  std::memset(block, 1, kResultBytes);
  EXPECT_EQ(mallinfo2().hblkhd, 0u) << "the block was mapped on its own";
  const size_t heapHoldingIt = mallinfo2().arena;
  std::free(block);
  EXPECT_EQ(mallinfo2().arena, heapHoldingIt) << "the heap gave the block back";
  EXPECT_GE(mallinfo2().fordblks, kResultBytes);

  // The next result of the same size is carved from what was kept.
  char* volatile next = static_cast<char*>(std::malloc(kResultBytes));
  ASSERT_NE(next, nullptr);
  EXPECT_EQ(mallinfo2().arena, heapHoldingIt);
  std::free(next);
}

}  // namespace
}  // namespace zs
