#include "app/widget_factory.h"

namespace zs {

QComboBox* MakeSizeCombo(QWidget* parent, const QString& name) {
  auto* combo = Make<QComboBox>(parent, name);
  combo->setEditable(true);
  for (int size = 1; size <= 6; ++size) combo->addItem(QString::number(size));
  combo->setEditText(QStringLiteral("2"));
  combo->setInsertPolicy(QComboBox::NoInsert);
  return combo;
}

}  // namespace zs
