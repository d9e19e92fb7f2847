#include "core/platform.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <thread>

#include "core/errors.h"

namespace zs {
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
    throw StoreError(std::string("无法锁定数据文件夹的锁文件：") + std::strerror(errno));
  }
}

}  // namespace

LockFile::LockFile(const std::filesystem::path& file)
    : fd_(::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644)) {
  if (fd_ < 0) {
    throw StoreError("无法打开锁文件 " + file.string() + "：" + std::strerror(errno));
  }
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

}  // namespace zs
