// Replaces a file as a whole: the new content goes to a temporary file in the
// target's folder (so the final rename stays on one file system and is
// atomic), which is flushed to disk and then renamed over the target. Until
// Commit() the target is untouched; a FileReplacement destroyed without
// Commit() removes its temporary, so a failed write leaves no stray file.
//
// Failures throw StoreError with a message that names the file and the
// reason in the user's words (disk full, folder not writable, …).
#ifndef ZEPHYRSTAT_EXPORT_FILE_REPLACEMENT_H_
#define ZEPHYRSTAT_EXPORT_FILE_REPLACEMENT_H_

#include <filesystem>
#include <string>
#include <string_view>

namespace zs {

class FileReplacement {
 public:
  // Creates the temporary beside `target`.
  explicit FileReplacement(std::filesystem::path target);
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;
  ~FileReplacement();

  // Another writer (a library that opens files by name) may fill this file
  // instead of Write(); Commit() then publishes what it left there.
  const std::filesystem::path& temporary() const { return temporary_; }
  const std::filesystem::path& target() const { return target_; }

  void Write(std::string_view bytes);
  // Flushes the temporary to disk and renames it over the target.
  void Commit();

  // A StoreError message for a failed file operation with the given errno.
  [[noreturn]] void Fail(int error) const;

 private:
  std::filesystem::path target_;
  std::filesystem::path temporary_;
  int fd_ = -1;
  bool committed_ = false;
};

// The user's words for a failed file operation's errno.
std::string FileErrorReason(int error);

}  // namespace zs

#endif  // ZEPHYRSTAT_EXPORT_FILE_REPLACEMENT_H_
