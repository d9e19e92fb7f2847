// Keeping freed memory in the process for the next result to reuse.
//
// Every search of the window builds a hit list and grids of tens of
// megabytes over a long history and drops those of the search before. By
// default the allocator hands such blocks back to the system when they are
// freed, so every search pays again for fresh pages; on a virtual machine
// that can cost more than the search itself. A long-running program calls this once at start-up,
// before it allocates much; it then holds up to kRetainedFreeBytes of freed
// memory for reuse.
//
// Fresh pages themselves are dear there too: the first kHugePageHeapBytes of
// the heap are backed with huge pages where the system allows it, which
// makes opening a long history several times faster (the index alone fills
// about 60 MB for 500,000 draws). That part stays in the process once used.
// So the command-line tool calls this as well: its import and its reading
// of a long history fill tens of megabytes once.
#ifndef ZEPHYRSTAT_FRONTEND_MEMORY_REUSE_H_
#define ZEPHYRSTAT_FRONTEND_MEMORY_REUSE_H_

#include <cstddef>

namespace zs {

inline constexpr size_t kRetainedFreeBytes = size_t{128} << 20;
inline constexpr size_t kHugePageHeapBytes = size_t{256} << 20;

// False when the allocator refused the settings (the program then runs as
// before, only slower on repeated large results). Huge pages are a bonus:
// without them the program runs as before.
bool RetainFreedMemoryForReuse();

}  // namespace zs

#endif  // ZEPHYRSTAT_FRONTEND_MEMORY_REUSE_H_
