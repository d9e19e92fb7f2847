// Its own test program: the allocator settings hold for the whole process.
#include "app/common/memory_reuse.h"

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

  const size_t freeBefore = mallinfo2().fordblks;
  // Through a volatile pointer so that the compiler keeps the allocation.
  char* volatile block = static_cast<char*>(std::malloc(kResultBytes));
  ASSERT_NE(block, nullptr);
  std::memset(block, 1, kResultBytes);
  EXPECT_EQ(mallinfo2().hblkhd, 0u) << "the block was mapped on its own";
  std::free(block);
  EXPECT_GE(mallinfo2().fordblks, freeBefore + kResultBytes);

  // The next result of the same size is carved from what was kept.
  const size_t heapBefore = mallinfo2().arena;
  char* volatile next = static_cast<char*>(std::malloc(kResultBytes));
  ASSERT_NE(next, nullptr);
  EXPECT_EQ(mallinfo2().arena, heapBefore);
  std::free(next);
}

}  // namespace
}  // namespace zs
