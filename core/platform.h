// Every operating-system call the engine and the window make, behind plain
// functions, so that a port to another system replaces this file only. The
// calls report failure by returning the errno value (0 for success) and
// leave the wording of messages to their callers. LockFile keeps a second
// program from changing a data folder while one is at work.
#ifndef ZEPHYRSTAT_CORE_PLATFORM_H_
#define ZEPHYRSTAT_CORE_PLATFORM_H_

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <string_view>

namespace zs::platform {

// An open file's descriptor; -1 when none.
using FileHandle = int;
inline constexpr FileHandle kNoFile = -1;

// Creates a new, empty file with a unique name beside `target`, hidden and
// named after it, with the permissions `target` has (or the usual ones when
// it does not exist). On success `handle` and `path` name the new file.
int CreateFileBeside(const std::filesystem::path& target, FileHandle& handle,
                     std::filesystem::path& path);
// Whether `fileName` is a name CreateFileBeside gives the files it makes
// beside `target`.
bool IsFileBesideName(const std::filesystem::path& target, std::string_view fileName);
int OpenForReading(const std::filesystem::path& file, FileHandle& handle);

// Writes all of `bytes`, resuming after interruptions.
int WriteAll(FileHandle handle, std::string_view bytes);
// Reads up to `size` bytes into `buffer`; `got` is 0 at the end of the file.
int ReadSome(FileHandle handle, char* buffer, size_t size, size_t& got);
// Flushes the file's content to the disk.
int SyncFile(FileHandle handle);
int CloseFile(FileHandle handle);

// Whether this process may write to `path` (a file or a folder), as the
// system decides it for this user: false on a read-only file system or
// without write permission.
bool MayWrite(const std::filesystem::path& path);

// Puts `from` in place of `to` in one step, also while `to` is open.
int ReplaceFile(const std::filesystem::path& from, const std::filesystem::path& to);
// Makes renames inside `folder` survive a crash; best effort.
void SyncFolder(const std::filesystem::path& folder);

// Lets the allocator keep blocks up to `largestHeapBlock` bytes on its heap
// and keep up to `retainedFreeBytes` freed bytes for reuse. False when the
// allocator has no such setting.
bool TuneAllocator(int largestHeapBlock, size_t retainedFreeBytes);

// Grows the heap by `bytes` now and asks the system to back that part with
// huge pages, so filling fresh memory takes a page fault per 2 MB instead of
// per 4 KB; the heap then keeps that much free room (freed memory included)
// rather than giving it back. Call it after TuneAllocator, before the
// program allocates much. False when the heap did not grow in one piece or
// the system does not take the advice (the program runs as before).
bool BackHeapWithHugePages(size_t bytes);

// An open lock file with numbered slots, each locked shared or exclusive.
// Locks belong to this object, not to the process: two LockFile objects on
// one file exclude each other exactly as two processes do, and a lock ends
// with its object or its process (also when the process is killed).
class LockFile {
 public:
  enum class Mode { kShared, kExclusive };
  enum class Access { kReadWrite, kReadOnly };

  // Opens `file`, creating it when absent; with kReadOnly an existing file
  // for reading, which takes only shared locks. Unlike the calls above it
  // throws StoreError, with the file named, when it cannot.
  explicit LockFile(const std::filesystem::path& file, Access access = Access::kReadWrite);
  LockFile(const LockFile&) = delete;
  LockFile& operator=(const LockFile&) = delete;
  ~LockFile();

  // Locks `slot` in `mode`, or changes the mode of a lock this object holds
  // on it; a failed change keeps the lock held before. Returns false when
  // another holder's lock still conflicts after `wait`.
  bool Lock(int slot, Mode mode, std::chrono::milliseconds wait);
  void Unlock(int slot);

 private:
  int fd_ = -1;
};

}  // namespace zs::platform

#endif  // ZEPHYRSTAT_CORE_PLATFORM_H_
