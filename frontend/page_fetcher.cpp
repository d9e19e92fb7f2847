#include "frontend/page_fetcher.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <algorithm>
#include <chrono>

namespace zs {

namespace {

// Qt's own error texts are English; the user reads why in Chinese.
QString NetworkErrorText(QNetworkReply::NetworkError error) {
  switch (error) {
    case QNetworkReply::ConnectionRefusedError:
      return QStringLiteral("服务器拒绝连接（该地址没有开奖结果服务）");
    case QNetworkReply::RemoteHostClosedError:
      return QStringLiteral("服务器提前关闭了连接");
    case QNetworkReply::HostNotFoundError:
      return QStringLiteral("找不到服务器（请检查网址和网络连接）");
    case QNetworkReply::TimeoutError:
    case QNetworkReply::OperationCanceledError:
      return QStringLiteral("连接超时");
    case QNetworkReply::SslHandshakeFailedError:
      return QStringLiteral("安全连接（SSL）失败");
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
      return QStringLiteral("网络暂时不可用");
    case QNetworkReply::ProxyConnectionRefusedError:
    case QNetworkReply::ProxyNotFoundError:
    case QNetworkReply::ProxyTimeoutError:
      return QStringLiteral("无法连接代理服务器");
    case QNetworkReply::ContentNotFoundError:
      return QStringLiteral("服务器上没有这个网页");
    default:
      return QStringLiteral("网络错误（代码 %1）").arg(int(error));
  }
}

}  // namespace

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
  // A compressed page is held to kMaxPageBytes as it inflates (downloadProgress
  // counts inflated bytes). Qt's own check of the inflation ratio would end a
  // gzip bomb first, with nothing better to say than "unknown content".
  request.setDecompressedSafetyCheckThreshold(-1);
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
    fail(QStringLiteral("无法读取结果页 %1：%2")
             .arg(url_.toString(), NetworkErrorText(reply_->error())));
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
