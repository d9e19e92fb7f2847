// The 设置 menu's commands and the 帮助 menu: the zodiac, segment and colour
// bases, the edition, the kept years, the update address, and opening the
// user guide or the about box.
//
// A zodiac or segment base re-derives every stored draw and an edition
// changes the numbering of new draws, so those changes pass the command
// gate (none happens while an update is running); a refused or failed
// change leaves the menu's check on the setting in force.
#ifndef ZEPHYRSTAT_APP_SETTINGS_COMMANDS_H_
#define ZEPHYRSTAT_APP_SETTINGS_COMMANDS_H_

#include <QObject>
#include <array>

#include "core/settings.h"

class QAction;

namespace zs {

struct WindowState;

// The checkable items of the 设置 menu.
struct SettingsMenuItems {
  std::array<QAction*, 2> zodiac{};    // mnuSxcs
  std::array<QAction*, 2> segment{};   // mnuDscs
  std::array<QAction*, 2> colour{};    // mnuBscs
  std::array<QAction*, 8> editions{};  // mnuKL10
};

class SettingsCommands : public QObject {
  Q_OBJECT

 public:
  SettingsCommands(WindowState& state, QObject* parent);

  // The items the commands keep checked, filled in as the menu is built.
  SettingsMenuItems& items() { return items_; }

  // Checks the items of the settings in force.
  void ShowChecks();
  void ChangeZodiacBase(int base);
  void ChangeSegmentBase(int base);
  void ChangeColourBase(int base);
  void ChangeEdition(EditionChoice edition);
  void AskKeptYears();
  void AskResultsUrl();
  // `page` is a file of the user guide (docs/).
  void OpenGuidePage(const QString& page);
  void ShowAbout();

 signals:
  // The stored draws were derived anew under a changed base.
  void basesChanged();
  // Another edition was chosen: its draws per day decide the following
  // issue of the stored draws.
  void editionChanged();

 private:
  void ChangeBase(SettingKey key, int value);

  WindowState& state_;
  SettingsMenuItems items_;
};

}  // namespace zs

#endif  // ZEPHYRSTAT_APP_SETTINGS_COMMANDS_H_
