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
  bool Question(QWidget* parent, const QString& title, const QString& text) override {
    return QMessageBox::question(parent, title, text, QMessageBox::Ok | QMessageBox::Cancel,
                                 QMessageBox::Ok) == QMessageBox::Ok;
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

  void OpenLink(const QUrl& url) override {
    if (QDesktopServices::openUrl(url)) return;
    QProcess::startDetached(QStringLiteral("xdg-open"), {url.toString()});
  }

  FileOpener& Opener() override { return opener_; }

 private:
  DesktopFileOpener opener_;
};

}  // namespace

std::unique_ptr<Dialogs> MakeWidgetDialogs() { return std::make_unique<WidgetDialogs>(); }

}  // namespace zs
