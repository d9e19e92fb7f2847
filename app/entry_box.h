// A masked digit box ("99" or "9", blank "_") whose cursor never rests
// beyond its first blank place: a click or focus anywhere in an empty or
// half-filled box puts the cursor where the next digit goes, so typing
// always lands (a cursor after the blanks would drop every digit typed).
// typedChange() tells a user's edit that changed the text from a keystroke
// the box rejected (QLineEdit reports both as edited).
#ifndef ZEPHYRSTAT_APP_ENTRY_BOX_H_
#define ZEPHYRSTAT_APP_ENTRY_BOX_H_

#include <QLineEdit>

namespace zs {

class EntryBox : public QLineEdit {
  Q_OBJECT

 public:
  // `mask` is the digit mask without the blank, e.g. "99".
  EntryBox(const QString& objectName, const QString& mask, QWidget* parent);

  // The number in the box: its leading digits, so a blank ends it ("3_" is
  // 3; "_5" and "__" are 0).
  int LeadingNumber() const;
  bool IsComplete() const { return !displayText().contains(u'_'); }

 signals:
  // The user's typing changed the text; a change made in code is no typing.
  void typedChange();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;

 private:
  void KeepCursorAtFirstBlank();

  // The text after the last change of any kind. QLineEdit reports an edit
  // before the change, so an edit that left the text as it was finds it equal.
  QString lastText_;
};

}  // namespace zs

#endif  // ZEPHYRSTAT_APP_ENTRY_BOX_H_
