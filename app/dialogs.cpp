#include "app/dialogs.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QProcess>

namespace zs {
namespace {

class WidgetDialogs : public Dialogs {
 public:
  bool Question(QWidget* parent, const QString& title, const QString& text,
                QuestionDefault defaultButton) override {
    const auto pressed =
        defaultButton == QuestionDefault::kCancel ? QMessageBox::Cancel : QMessageBox::Ok;
    return QMessageBox::question(parent, title, text, QMessageBox::Ok | QMessageBox::Cancel,
                                 pressed) == QMessageBox::Ok;
  }

  QString Input(QWidget* parent, const QString& title, const QString& prompt,
                const QString& initial) override {
    bool ok = false;
    const QString answer =
        QInputDialog::getText(parent, title, prompt, QLineEdit::Normal, initial, &ok);
    return ok ? answer : QString();
  }

  void Message(QWidget* parent, const QString& title, const QString& text) override {
    QMessageBox::information(parent, title, text, QMessageBox::Ok);
  }

  QString OpenFile(QWidget* parent, const QString& folder, const QString& filter) override {
    return QFileDialog::getOpenFileName(parent, QString(), folder, filter);
  }

  bool OpenLink(const QUrl& url) override {
    return QDesktopServices::openUrl(url) ||
           QProcess::startDetached(QStringLiteral("xdg-open"), {url.toString()});
  }

  FileOpener& Opener() override { return opener_; }

 private:
  DesktopFileOpener opener_;
};

}  // namespace

std::unique_ptr<Dialogs> MakeWidgetDialogs() { return std::make_unique<WidgetDialogs>(); }

}  // namespace zs
