// Reading and writing files whole, for every file the program keeps or
// exports (lsbf.txt, the compacted history, the spreadsheets, the text
// export).
//
// A file is replaced as a whole: the new content goes to a temporary file in
// the target's folder (so the final rename stays on one file system and is
// atomic), which is flushed to disk, renamed over the target, and the folder
// flushed. Until Commit() the target is untouched; a FileReplacement
// destroyed without Commit() removes its temporary, so a failed write leaves
// the old file as it was and no stray file.
//
// Failures throw StoreError with a message that names the file and the
// reason in the user's words (disk full, folder not writable, …).
#ifndef ZEPHYRSTAT_CORE_FILE_IO_H_
#define ZEPHYRSTAT_CORE_FILE_IO_H_

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/platform.h"

namespace zs {

class FileReplacement {
 public:
  // Creates the temporary beside `target`.
  explicit FileReplacement(std::filesystem::path target);
  // Removes the temporary unless Commit() succeeded.
  ~FileReplacement();
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;

  // Another writer (a library that opens files by name) may fill this file
  // instead of Write(); Commit() then publishes what it left there.
  const std::filesystem::path& temporary() const { return temporary_; }

  void Write(std::string_view bytes);
  // Flushes the temporary to disk, renames it over the target and flushes
  // the folder.
  void Commit();

  // Throws the StoreError for a failed write with the given errno.
  [[noreturn]] void Fail(int error) const;

 private:
  std::filesystem::path target_;
  std::filesystem::path temporary_;
  platform::FileHandle file_ = platform::kNoFile;
  bool committed_ = false;
};

// Removes the temporaries that replacements of `target` left behind when
// their program was killed before Commit(); best effort. Precondition: no
// live program is replacing `target` (its every writer holds a lock the
// caller holds too), else its temporary would go.
void RemoveLeftoverTemporaries(const std::filesystem::path& target);

// Replaces `target` with `bytes`.
void WriteFileWhole(const std::filesystem::path& target, std::string_view bytes);
// Replaces `target` with a copy of `source`, read in pieces.
void ReplaceWithCopy(const std::filesystem::path& source, const std::filesystem::path& target);
// The whole content of `file`.
std::string ReadFileWhole(const std::filesystem::path& file);
// The whole content of `file`, or nullopt when it holds more than `maxBytes`
// (told by its size before reading, or while reading when it grows). Throws
// StoreError, without reading, when it is no regular file (a folder, a
// device, a pipe).
std::optional<std::string> ReadRegularFileAtMost(const std::filesystem::path& file,
                                                 uint64_t maxBytes);

// The user's words for a failed file operation's errno.
std::string FileErrorReason(int error);
// Throws StoreError "<what> <file>：<reason>", e.g. what = "无法读取".
[[noreturn]] void FailFile(std::string_view what, const std::filesystem::path& file, int error);

}  // namespace zs

#endif  // ZEPHYRSTAT_CORE_FILE_IO_H_
