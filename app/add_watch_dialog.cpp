#include "app/add_watch_dialog.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <cmath>
#include <limits>

namespace zs {

std::optional<Watch> AskWatch(QWidget* parent, const Watch& pattern, const QString& content) {
  QDialog dialog(parent);
  dialog.setWindowTitle(QStringLiteral("加入关注"));
  auto* form = new QFormLayout(&dialog);
  auto* shown = new QLabel(content, &dialog);
  shown->setWordWrap(true);
  form->addRow(QStringLiteral("内容："), shown);

  auto* kind = new QComboBox(&dialog);
  kind->addItem(QStringLiteral("最后遗漏 ≥ N"));
  kind->addItem(QStringLiteral("欲出几率 ≥ R"));
  kind->addItem(QStringLiteral("最后遗漏超过最大遗漏（破纪录）"));
  form->addRow(QStringLiteral("条件："), kind);
  auto* last = new QSpinBox(&dialog);
  last->setRange(0, std::numeric_limits<int>::max());
  last->setValue(10);
  form->addRow(QStringLiteral("N："), last);
  auto* ratio = new QDoubleSpinBox(&dialog);
  ratio->setDecimals(2);
  ratio->setRange(0, 100);
  ratio->setSingleStep(0.1);
  ratio->setValue(2);
  form->addRow(QStringLiteral("R："), ratio);
  auto* name = new QLineEdit(&dialog);
  form->addRow(QStringLiteral("名称："), name);
  const auto showFields = [kind, last, ratio] {
    last->setEnabled(kind->currentIndex() == 0);
    ratio->setEnabled(kind->currentIndex() == 1);
  };
  QObject::connect(kind, &QComboBox::currentIndexChanged, &dialog, showFields);
  showFields();

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  form->addRow(buttons);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;

  Watch watch = pattern;
  watch.name = name->text().trimmed().toStdString();
  watch.condition = {};
  switch (kind->currentIndex()) {
    case 0:
      watch.condition.kind = WatchCondition::Kind::kLastAtLeast;
      watch.condition.lastAtLeast = last->value();
      break;
    case 1:
      // Two decimals shown, kept in the condition's finer unit.
      watch.condition.kind = WatchCondition::Kind::kRatioAtLeast;
      watch.condition.ratioAtLeast = static_cast<int64_t>(std::llround(ratio->value() * 100)) *
                                     (WatchCondition::kRatioScale / 100);
      break;
    default:
      watch.condition.kind = WatchCondition::Kind::kRecord;
      break;
  }
  return watch;
}

}  // namespace zs
