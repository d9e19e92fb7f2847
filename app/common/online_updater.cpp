#include "app/common/online_updater.h"

#include <QDate>
#include <QTimer>
#include <QUrl>
#include <exception>
#include <string>
#include <utility>

#include "core/derivation.h"
#include "core/errors.h"

namespace zs {

// What the worker thread hands back: the draws it read, or why it could not.
struct OnlineUpdater::PageRead {
  PageReadout readout;
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

void OnlineUpdater::start(HistoryStore& store, const Settings& settings, const Date& today) {
  running_ = true;
  store_ = &store;
  settings_ = settings;
  today_ = today;
  engineFailure_ = nullptr;
  try {
    plan_ = PlanUpdate(store, settings, today);
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
  reader_ = QThread::create([read, page = std::string(body.constData(), size_t(body.size())),
                             plan = plan_, deadline = deadline_] {
    try {
      read->readout = ReadResultsPage(plan, page, deadline);
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
  UpdateReport report;
  try {
    if (read.failure) std::rethrow_exception(read.failure);
    HistoryStore::Change change(*store_);
    // The page was read for the history as it was when the update began;
    // another program may have changed it since.
    const UpdatePlan now = PlanUpdate(*store_, settings_, today_);
    if (now.firstIssue != plan_.firstIssue || now.lastIssue != plan_.lastIssue ||
        now.dropHistory != plan_.dropHistory) {
      throw StoreError(
          "历史号码在更新期间已被另一个程序修改，本次更新未保存；历史号码保持原样，请重新更新");
    }
    report = StoreResultsPage(*store_, plan_, DerivationRules::From(settings_), read.readout);
    change.Commit();
  } catch (const std::exception& error) {
    engineFailure_ = std::current_exception();
    fail(QString::fromUtf8(error.what()));
    return;
  }
  running_ = false;
  emit finished(report);
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
