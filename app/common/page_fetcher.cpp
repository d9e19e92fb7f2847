#include "app/common/page_fetcher.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <algorithm>
#include <chrono>

namespace zs {

PageFetcher::PageFetcher(QObject* parent) : QObject(parent) {
  deadline_.setSingleShot(true);
  connect(&deadline_, &QTimer::timeout, this, &PageFetcher::onTimeout);
}

void PageFetcher::fetch(const QUrl& url, int timeoutSeconds) {
  running_ = true;
  url_ = url;
  const QString scheme = url.scheme().toLower();
  if (!url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
    // Queued, so that the caller has connected and returned before it hears.
    QTimer::singleShot(0, this, [this] {
      fail(QStringLiteral("结果页地址无效（只支持 http 或 https 地址）: %1").arg(url_.toString()));
    });
    return;
  }
  QNetworkRequest request(url);
  request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Zephyrstat"));
  reply_ = network_.get(request);
  connect(reply_, &QNetworkReply::finished, this, &PageFetcher::onFinished);
  connect(reply_, &QNetworkReply::downloadProgress, this, [this](qint64 received, qint64) {
    if (received > kMaxPageBytes) {
      fail(QStringLiteral("结果页过大（超过 %1 MB），不是开奖结果页: %2")
               .arg(kMaxPageBytes / (1024 * 1024))
               .arg(url_.toString()));
    }
  });
  deadline_.start(std::chrono::seconds(std::max(1, timeoutSeconds)));
}

void PageFetcher::onTimeout() {
  fail(QStringLiteral("结果页 %1 在 %2 秒内没有应答，历史号码未改变")
           .arg(url_.toString())
           .arg(std::chrono::duration_cast<std::chrono::seconds>(deadline_.intervalAsDuration())
                    .count()));
}

void PageFetcher::onFinished() {
  if (!reply_) return;
  const QVariant status = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute);
  if (status.isValid() && status.toInt() >= 400) {
    fail(QStringLiteral("结果页 %1 返回 HTTP %2 %3")
             .arg(url_.toString())
             .arg(status.toInt())
             .arg(reply_->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString()));
    return;
  }
  if (reply_->error() != QNetworkReply::NoError) {
    fail(QStringLiteral("无法读取结果页 %1: %2").arg(url_.toString(), reply_->errorString()));
    return;
  }
  const QByteArray body = reply_->readAll();
  finish();
  emit fetched(body);
}

// Ends the fetch before anyone hears of it, so that a listener may start the
// next one at once.
void PageFetcher::finish() {
  deadline_.stop();
  if (reply_) {
    reply_->disconnect(this);
    reply_->abort();
    reply_->deleteLater();
  }
  reply_ = nullptr;
  running_ = false;
}

void PageFetcher::fail(const QString& message) {
  finish();
  emit failed(message);
}

}  // namespace zs
