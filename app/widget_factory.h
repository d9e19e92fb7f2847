// Small helpers that create the window's controls with their object names
// (a control array's index after an underscore: Check6_1, Option3_0) and
// captions, so that each panel builds its controls in a few lines.
#ifndef ZEPHYRSTAT_APP_WIDGET_FACTORY_H_
#define ZEPHYRSTAT_APP_WIDGET_FACTORY_H_

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QString>

namespace zs {

inline QString Named(const char* name, int index) {
  return QString::fromLatin1(name) + u'_' + QString::number(index);
}

template <typename Widget>
Widget* Make(QWidget* parent, const QString& name) {
  auto* widget = new Widget(parent);
  widget->setObjectName(name);
  return widget;
}

template <typename Widget>
Widget* MakeCaptioned(QWidget* parent, const QString& name, const QString& caption) {
  auto* widget = Make<Widget>(parent, name);
  widget->setText(caption);
  return widget;
}

// A row of a table of controls: the object name, the caption and what the
// control calls on `Target` (a command, or a signal to emit).
template <typename Target>
struct NamedItem {
  const char* name;
  const char* caption;
  void (Target::*member)();
};

// An editable list of the sizes 1 … 6 showing "2".
QComboBox* MakeSizeCombo(QWidget* parent, const QString& name);

}  // namespace zs

#endif  // ZEPHYRSTAT_APP_WIDGET_FACTORY_H_
