#include "frontend/online_updater.h"

#include <QDate>
#include <QTimer>
#include <QUrl>
#include <exception>
#include <string>
#include <utility>

#include "core/derivation.h"
#include "core/errors.h"

namespace zs {

// What the worker thread hands back: what the update stored, or why it
// stored nothing.
struct OnlineUpdater::PageRead {
  UpdateReport report;
  std::exception_ptr failure;
};

OnlineUpdater::OnlineUpdater(QObject* parent) : QObject(parent) {
  connect(&fetcher_, &PageFetcher::fetched, this, &OnlineUpdater::onFetched);
  connect(&fetcher_, &PageFetcher::failed, this, &OnlineUpdater::fail);
}

OnlineUpdater::~OnlineUpdater() {
  if (reader_ != nullptr) {
    reader_->wait();
    delete reader_;
  }
}

void OnlineUpdater::start(History& history, const Settings& settings, const Date& today) {
  running_ = true;
  history_ = &history;
  settings_ = settings;
  today_ = today;
  engineFailure_ = nullptr;
  try {
    plan_ = history.PlanUpdate(settings, today);
  } catch (const std::exception& error) {
    engineFailure_ = std::current_exception();
    const QString message = QString::fromUtf8(error.what());
    QTimer::singleShot(0, this, [this, message] { fail(message); });
    return;
  }
  // The fetch and the reading of the page share one time limit.
  deadline_ = UpdateDeadline::FromNow(settings.fetchTimeoutSeconds);
  fetcher_.fetch(QUrl(QString::fromStdString(plan_.address)), settings.fetchTimeoutSeconds);
}

void OnlineUpdater::onFetched(const QByteArray& body) {
  // A long or hostile page is read off the caller's thread, so the window
  // stays responsive until the time limit stops the reading.
  auto read = std::make_shared<PageRead>();
  reader_ =
      QThread::create([this, read, page = std::string(body.constData(), size_t(body.size()))] {
        try {
          read->report = history_->StoreUpdate(plan_, settings_, today_,
                                               ReadResultsPage(plan_, page, deadline_));
        } catch (...) {
          read->failure = std::current_exception();
        }
      });
  connect(reader_, &QThread::finished, this, [this, read] {
    reader_->deleteLater();
    reader_ = nullptr;
    storeRead(*read);
  });
  reader_->start();
}

void OnlineUpdater::storeRead(const PageRead& read) {
  if (read.failure) {
    engineFailure_ = read.failure;
    try {
      std::rethrow_exception(read.failure);
    } catch (const std::exception& error) {
      fail(QString::fromUtf8(error.what()));
    }
    return;
  }
  running_ = false;
  emit finished(read.report);
}

void OnlineUpdater::fail(const QString& message) {
  running_ = false;
  emit failed(message);
}

Date Today() {
  const QDate today = QDate::currentDate();
  return Date{today.year(), today.month(), today.day()};
}

QString UpdateSummary(const UpdateReport& report) {
  QString summary = QStringLiteral("在线更新完成：新增 %1 期（检索 %2 至 %3）")
                        .arg(report.added)
                        .arg(QString::fromStdString(ShownIssue(report.firstIssue, false)),
                             QString::fromStdString(ShownIssue(report.lastIssue, false)));
  if (report.dropped > 0) {
    summary += QStringLiteral("，已删除超过保留天数的旧历史 %1 期").arg(report.dropped);
  }
  if (report.unreadable > 0) {
    summary += QStringLiteral("，%1 期号码无法识别，未保存").arg(report.unreadable);
  }
  return summary;
}

}  // namespace zs
