// Qt's own texts in Chinese: the buttons and labels of Qt's dialogs (确定,
// 取消, 打开, 查找范围 …) come from Qt's zh_CN translations, which Debian's
// qt6-translations-l10n installs into Qt's translations folder.
#ifndef ZEPHYRSTAT_APP_QT_TRANSLATIONS_H_
#define ZEPHYRSTAT_APP_QT_TRANSLATIONS_H_

namespace zs {

// Installs the translations on the running application; false when they are
// not installed (Qt's dialogs then speak English). Precondition: a
// QCoreApplication exists.
bool InstallQtChineseTranslations();

}  // namespace zs

#endif  // ZEPHYRSTAT_APP_QT_TRANSLATIONS_H_
