#include "core/file_io.h"

#include <cerrno>
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
    case ELOOP:
      return std::string("符号链接层层相套，找不到文件（") + std::strerror(error) + "）";
    case ENAMETOOLONG:
      return "路径过长";
    case EIO:
      return std::string("磁盘读写出错（") + std::strerror(error) + "）";
    case EMFILE:
    case ENFILE:
      return "同时打开的文件过多";
    case ENOMEM:
      return "内存不足";
    case EBUSY:
    case ETXTBSY:
      return "文件正被使用";
    case EFBIG:
      return "文件过大";
    default:
      return std::string("系统错误（") + std::strerror(error) + "）";
  }
}

void FailFile(std::string_view what, const std::filesystem::path& file, int error) {
  throw StoreError(std::string(what) + " " + file.string() + "：" + FileErrorReason(error));
}

FileReplacement::FileReplacement(std::filesystem::path target) : target_(std::move(target)) {
  if (const int error = platform::CreateFileBeside(target_, file_, temporary_)) Fail(error);
}

FileReplacement::~FileReplacement() {
  if (file_ != platform::kNoFile) platform::CloseFile(file_);
  std::error_code ignored;
  if (!committed_ && !temporary_.empty()) std::filesystem::remove(temporary_, ignored);
}

void FileReplacement::Write(std::string_view bytes) {
  if (const int error = platform::WriteAll(file_, bytes)) Fail(error);
}

void FileReplacement::Commit() {
  // Without the flush a crash right after the rename could leave an empty
  // file under the target's name.
  if (const int error = platform::SyncFile(file_)) Fail(error);
  const platform::FileHandle file = file_;
  file_ = platform::kNoFile;
  if (const int error = platform::CloseFile(file)) Fail(error);
  if (const int error = platform::ReplaceFile(temporary_, target_)) Fail(error);
  committed_ = true;
  platform::SyncFolder(target_.parent_path());
}

void FileReplacement::Fail(int error) const { FailFile("无法写入", target_, error); }

void RemoveLeftoverTemporaries(const std::filesystem::path& target) {
  std::error_code error;
  std::filesystem::directory_iterator entries(target.parent_path(), error);
  // A leftover that cannot be removed costs only room on the disk.
  for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
    if (platform::IsFileBesideName(target, entries->path().filename().string()) &&
        entries->is_regular_file(error)) {
      std::filesystem::remove(entries->path(), error);
    }
    error.clear();
  }
}

void WriteFileWhole(const std::filesystem::path& target, std::string_view bytes) {
  FileReplacement replacement(target);
  replacement.Write(bytes);
  replacement.Commit();
}

namespace {

// Closes a file opened for reading when it goes out of scope.
struct ReadingFile {
  platform::FileHandle handle = platform::kNoFile;
  ~ReadingFile() {
    if (handle != platform::kNoFile) platform::CloseFile(handle);
  }
};

// Hands `file`'s content to `take` piece by piece, until `take` returns false.
template <typename Take>
void ReadInPieces(const std::filesystem::path& file, Take take) {
  ReadingFile in;
  if (const int error = platform::OpenForReading(file, in.handle)) {
    if (error == ENOENT) throw StoreError("无法读取 " + file.string() + "：文件不存在");
    FailFile("无法读取", file, error);
  }
  std::vector<char> buffer(1 << 20);
  for (;;) {
    size_t got = 0;
    const int error = platform::ReadSome(in.handle, buffer.data(), buffer.size(), got);
    if (error != 0) FailFile("无法读取", file, error);
    if (got == 0 || !take(std::string_view(buffer.data(), got))) return;
  }
}

}  // namespace

void ReplaceWithCopy(const std::filesystem::path& source, const std::filesystem::path& target) {
  FileReplacement replacement(target);
  ReadInPieces(source, [&replacement](std::string_view piece) {
    replacement.Write(piece);
    return true;
  });
  replacement.Commit();
}

std::string ReadFileWhole(const std::filesystem::path& file) {
  std::string bytes;
  ReadInPieces(file, [&bytes](std::string_view piece) {
    bytes.append(piece);
    return true;
  });
  return bytes;
}

std::optional<std::string> ReadRegularFileAtMost(const std::filesystem::path& file,
                                                 uint64_t maxBytes) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(file, error);
  if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
    throw StoreError("无法读取 " + file.string() + "：不是普通文件（文件夹、设备或管道）");
  }
  const uintmax_t size = std::filesystem::file_size(file, error);
  if (!error && size > maxBytes) return std::nullopt;
  std::string bytes;
  bool withinLimit = true;
  // A file that grows while it is read is stopped at the limit all the same.
  ReadInPieces(file, [&](std::string_view piece) {
    withinLimit = bytes.size() + piece.size() <= maxBytes;
    if (withinLimit) bytes.append(piece);
    return withinLimit;
  });
  if (!withinLimit) return std::nullopt;
  return bytes;
}

}  // namespace zs
