// Operating-system calls the engine needs, kept in this one file so that a
// port to another system replaces only it: lock files that keep a second
// program from changing a data folder while one is at work.
#ifndef ZEPHYRSTAT_CORE_PLATFORM_H_
#define ZEPHYRSTAT_CORE_PLATFORM_H_

#include <chrono>
#include <filesystem>

namespace zs {

// An open lock file with numbered slots, each locked shared or exclusive.
// Locks belong to this object, not to the process: two LockFile objects on
// one file exclude each other exactly as two processes do, and a lock ends
// with its object or its process (also when the process is killed).
class LockFile {
 public:
  enum class Mode { kShared, kExclusive };

  // Opens `file`, creating it when absent. Throws StoreError.
  explicit LockFile(const std::filesystem::path& file);
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

}  // namespace zs

#endif  // ZEPHYRSTAT_CORE_PLATFORM_H_
