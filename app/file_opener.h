// Opens a file the program has just written with the desktop's default
// application for it (spreadsheet program, text viewer), without waiting for
// that application. An interface, so that tests substitute a recorder and
// never start anything.
#ifndef ZEPHYRSTAT_APP_FILE_OPENER_H_
#define ZEPHYRSTAT_APP_FILE_OPENER_H_

#include <filesystem>

namespace zs {

class FileOpener {
 public:
  virtual ~FileOpener() = default;
  // Starts the application and returns at once; false when none could be
  // started for the file.
  virtual bool Open(const std::filesystem::path& file) = 0;
};

// The desktop's own association (QDesktopServices), falling back to
// `xdg-open` where the platform plugin offers no desktop services.
class DesktopFileOpener final : public FileOpener {
 public:
  bool Open(const std::filesystem::path& file) override;
};

}  // namespace zs

#endif  // ZEPHYRSTAT_APP_FILE_OPENER_H_
