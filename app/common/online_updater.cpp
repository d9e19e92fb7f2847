#include "app/common/online_updater.h"

#include <QDate>
#include <QTimer>
#include <QUrl>
#include <exception>

namespace zs {

OnlineUpdater::OnlineUpdater(QObject* parent) : QObject(parent) {
  connect(&fetcher_, &PageFetcher::fetched, this, &OnlineUpdater::onFetched);
  connect(&fetcher_, &PageFetcher::failed, this, &OnlineUpdater::fail);
}

void OnlineUpdater::start(HistoryStore& store, const Settings& settings, const Date& today) {
  running_ = true;
  store_ = &store;
  settings_ = settings;
  today_ = today;
  engineFailure_ = nullptr;
  UpdatePlan plan;
  try {
    plan = PlanUpdate(store, settings, today);
  } catch (const std::exception& error) {
    engineFailure_ = std::current_exception();
    const QString message = QString::fromUtf8(error.what());
    QTimer::singleShot(0, this, [this, message] { fail(message); });
    return;
  }
  fetcher_.fetch(QUrl(QString::fromStdString(plan.address)), settings.fetchTimeoutSeconds);
}

void OnlineUpdater::onFetched(const QByteArray& body) {
  UpdateReport report;
  try {
    report = ApplyResultsPage(*store_, settings_, today_,
                              std::string_view(body.constData(), size_t(body.size())));
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
