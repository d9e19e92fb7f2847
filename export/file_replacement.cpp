#include "export/file_replacement.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "core/errors.h"

namespace zs {

std::string FileErrorReason(int error) {
  switch (error) {
    case ENOSPC:
    case EDQUOT:
      return "磁盘已满";
    case EACCES:
    case EPERM:
    case EROFS:
      return "文件夹不可写";
    case ENOENT:
    case ENOTDIR:
      return "文件夹不存在";
    case EISDIR:
      return "同名的文件夹已存在";
    default:
      return std::strerror(error);
  }
}

FileReplacement::FileReplacement(std::filesystem::path target) : target_(std::move(target)) {
  // Hidden and unique, so neither a user nor a second export mistakes it for
  // a finished file.
  std::string name = ".";
  name += target_.filename().string();
  name += ".tmp-XXXXXX";
  name = (target_.parent_path() / name).string();
  std::vector<char> buffer(name.begin(), name.end());
  buffer.push_back('\0');
  fd_ = mkstemp(buffer.data());
  if (fd_ < 0) Fail(errno);
  temporary_ = buffer.data();
  // mkstemp makes the file private; a replaced file keeps its permissions and
  // a new one gets the usual ones.
  struct stat existing {};
  const mode_t mode = stat(target_.c_str(), &existing) == 0 ? existing.st_mode & 07777 : 0644;
  if (fchmod(fd_, mode) != 0) Fail(errno);
}

FileReplacement::~FileReplacement() {
  if (fd_ >= 0) close(fd_);
  if (!committed_ && !temporary_.empty()) unlink(temporary_.c_str());
}

void FileReplacement::Write(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(fd_, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      Fail(errno);
    }
    bytes.remove_prefix(static_cast<size_t>(written));
  }
}

void FileReplacement::Commit() {
  // Without the flush a crash right after the rename could leave an empty
  // file under the target's name.
  if (fsync(fd_) != 0) Fail(errno);
  const int fd = fd_;
  fd_ = -1;
  if (close(fd) != 0) Fail(errno);
  if (std::rename(temporary_.c_str(), target_.c_str()) != 0) Fail(errno);
  committed_ = true;
}

void FileReplacement::Fail(int error) const {
  throw StoreError("无法写入 " + target_.string() + "：" + FileErrorReason(error));
}

}  // namespace zs
