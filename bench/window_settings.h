// Where a benchmark that starts the window keeps the window's settings: a
// folder of its own, so no run reads or changes the user's.
#ifndef ZEPHYRSTAT_BENCH_WINDOW_SETTINGS_H_
#define ZEPHYRSTAT_BENCH_WINDOW_SETTINGS_H_

#include <stdlib.h>

#include <QSettings>
#include <QString>
#include <filesystem>

namespace zs {

// Points the settings of this process and of the programs it starts at
// `config`; precondition: no QSettings object is open yet.
inline void KeepWindowSettingsIn(const std::filesystem::path& config) {
  setenv("XDG_CONFIG_HOME", config.c_str(), 1);
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                     QString::fromStdString(config.string()));
}

}  // namespace zs

#endif  // ZEPHYRSTAT_BENCH_WINDOW_SETTINGS_H_
