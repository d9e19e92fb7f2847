#include "core/platform.h"

#include <fcntl.h>
#include <malloc.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "core/errors.h"
#include "core/file_io.h"

namespace zs::platform {
namespace {

// Open-file-description locks: owned by the open file, not the process, and
// not dropped when another descriptor of the same file closes.
bool TryLockRange(int fd, int slot, short type) {
  struct flock range {};
  range.l_type = type;
  range.l_whence = SEEK_SET;
  range.l_start = slot;
  range.l_len = 1;
  for (;;) {
    if (::fcntl(fd, F_OFD_SETLK, &range) == 0) return true;
    if (errno == EINTR) continue;
    if (errno == EAGAIN || errno == EACCES) return false;
    throw StoreError("无法锁定数据文件夹的锁文件：" + FileErrorReason(errno));
  }
}

// Hidden and unique, so neither a user nor a second writer mistakes it for a
// finished file: "." + the target's name + ".tmp-" + six characters.
constexpr std::string_view kUniqueSuffix = "XXXXXX";

std::string BesidePrefix(const std::filesystem::path& target) {
  std::string prefix = ".";
  prefix += target.filename().string();
  prefix += ".tmp-";
  return prefix;
}

}  // namespace

bool IsFileBesideName(const std::filesystem::path& target, std::string_view fileName) {
  const std::string prefix = BesidePrefix(target);
  return fileName.size() == prefix.size() + kUniqueSuffix.size() && fileName.starts_with(prefix);
}

int CreateFileBeside(const std::filesystem::path& target, FileHandle& handle,
                     std::filesystem::path& path) {
  const std::string name =
      (target.parent_path() / (BesidePrefix(target) + std::string(kUniqueSuffix))).string();
  std::vector<char> buffer(name.begin(), name.end());
  buffer.push_back('\0');
  const int fd = mkostemp(buffer.data(), O_CLOEXEC);
  if (fd < 0) return errno;
  // mkstemp makes the file private; a replaced file keeps its permissions and
  // a new one gets the usual ones.
  struct stat existing {};
  const mode_t mode = stat(target.c_str(), &existing) == 0 ? existing.st_mode & 07777 : 0644;
  if (fchmod(fd, mode) != 0) {
    const int error = errno;
    close(fd);
    unlink(buffer.data());
    return error;
  }
  handle = fd;
  path = buffer.data();
  return 0;
}

int OpenForReading(const std::filesystem::path& file, FileHandle& handle) {
  handle = open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (handle < 0) return errno;
  struct stat status {};
  if (fstat(handle, &status) == 0 && S_ISDIR(status.st_mode)) {
    close(handle);
    handle = kNoFile;
    return EISDIR;
  }
  return 0;
}

int WriteAll(FileHandle handle, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(handle, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return 0;
}

int ReadSome(FileHandle handle, char* buffer, size_t size, size_t& got) {
  for (;;) {
    const ssize_t count = read(handle, buffer, size);
    if (count >= 0) {
      got = static_cast<size_t>(count);
      return 0;
    }
    if (errno != EINTR) return errno;
  }
}

int SyncFile(FileHandle handle) { return fsync(handle) == 0 ? 0 : errno; }

int CloseFile(FileHandle handle) { return close(handle) == 0 ? 0 : errno; }

bool MayWrite(const std::filesystem::path& path) { return access(path.c_str(), W_OK) == 0; }

int ReplaceFile(const std::filesystem::path& from, const std::filesystem::path& to) {
  return std::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

void SyncFolder(const std::filesystem::path& folder) {
  const int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

bool TuneAllocator(int largestHeapBlock, size_t retainedFreeBytes) {
  return mallopt(M_MMAP_THRESHOLD, largestHeapBlock) == 1 &&
         mallopt(M_TRIM_THRESHOLD, static_cast<int>(retainedFreeBytes)) == 1;
}

bool BackHeapWithHugePages(size_t bytes) {
  constexpr uintptr_t kHugePage = uintptr_t{2} << 20;
  // The heap grows by the block asked for plus this pad, and is never cut
  // back below it, so the advised part stays the heap's.
  if (mallopt(M_TOP_PAD, static_cast<int>(bytes)) != 1) return false;
  const auto before = reinterpret_cast<uintptr_t>(sbrk(0));
  // More than the little room a starting heap has left, so it grows.
  void* const growth = std::malloc(kHugePage);
  const auto after = reinterpret_cast<uintptr_t>(sbrk(0));
  std::free(growth);
  if (growth == nullptr || after < before + bytes) return false;
  const uintptr_t first = (before + kHugePage - 1) & ~(kHugePage - 1);
  return madvise(reinterpret_cast<void*>(first), after - first, MADV_HUGEPAGE) == 0;
}

LockFile::LockFile(const std::filesystem::path& file, Access access)
    : fd_(access == Access::kReadWrite ? ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644)
                                       : ::open(file.c_str(), O_RDONLY | O_CLOEXEC)) {
  if (fd_ < 0) throw StoreError("无法打开锁文件 " + file.string() + "：" + FileErrorReason(errno));
}

LockFile::~LockFile() { ::close(fd_); }

bool LockFile::Lock(int slot, Mode mode, std::chrono::milliseconds wait) {
  const short type = mode == Mode::kShared ? F_RDLCK : F_WRLCK;
  const auto deadline = std::chrono::steady_clock::now() + wait;
  // Polling keeps the wait bounded without a timer signal; a writer holds
  // the lock for milliseconds to seconds, so the pause costs nothing.
  while (!TryLockRange(fd_, slot, type)) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

void LockFile::Unlock(int slot) { TryLockRange(fd_, slot, F_UNLCK); }

}  // namespace zs::platform
