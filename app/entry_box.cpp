#include "app/entry_box.h"

#include <QFocusEvent>
#include <QMouseEvent>

namespace zs {

EntryBox::EntryBox(const QString& objectName, const QString& mask, QWidget* parent)
    : QLineEdit(parent) {
  setObjectName(objectName);
  setInputMask(mask + QStringLiteral(";_"));
  setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("000")) + 12);
  lastText_ = text();
  connect(this, &QLineEdit::textEdited, this, [this](const QString& edited) {
    if (edited != lastText_) emit typedChange();
  });
  connect(this, &QLineEdit::textChanged, this,
          [this](const QString& changed) { lastText_ = changed; });
}

int EntryBox::LeadingNumber() const {
  int value = 0;
  for (QChar c : displayText()) {
    if (!c.isDigit()) break;
    value = value * 10 + c.digitValue();
  }
  return value;
}

void EntryBox::mousePressEvent(QMouseEvent* event) {
  QLineEdit::mousePressEvent(event);
  KeepCursorAtFirstBlank();
}

void EntryBox::mouseReleaseEvent(QMouseEvent* event) {
  QLineEdit::mouseReleaseEvent(event);
  KeepCursorAtFirstBlank();
}

void EntryBox::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  KeepCursorAtFirstBlank();
}

void EntryBox::KeepCursorAtFirstBlank() {
  if (hasSelectedText()) return;
  const qsizetype blank = displayText().indexOf(u'_');
  if (blank >= 0 && cursorPosition() > blank) setCursorPosition(int(blank));
}

}  // namespace zs
