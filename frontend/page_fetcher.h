// Fetches one web page asynchronously with Qt Network, within a time limit
// on the whole fetch. The caller's event loop keeps running meanwhile (the
// window keeps painting). Exactly one of fetched() or failed() follows every
// Fetch(), never from within Fetch() itself.
//
// A connection that is refused, an HTTP error status, a time-out, a page
// larger than kMaxPageBytes and an address that is not http(s) all end in
// failed() with a message naming the address.
#ifndef ZEPHYRSTAT_FRONTEND_PAGE_FETCHER_H_
#define ZEPHYRSTAT_FRONTEND_PAGE_FETCHER_H_

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QUrl>

class QNetworkReply;

namespace zs {

class PageFetcher : public QObject {
  Q_OBJECT

 public:
  // A results page holds a few thousand draws; anything far larger is not one.
  static constexpr qint64 kMaxPageBytes = 32 * 1024 * 1024;

  explicit PageFetcher(QObject* parent = nullptr);

  // Precondition: !isRunning().
  void fetch(const QUrl& url, int timeoutSeconds);
  bool isRunning() const { return running_; }

 signals:
  void fetched(const QByteArray& body);
  void failed(const QString& message);

 private:
  void onFinished();
  void onTimeout();
  void finish();
  void fail(const QString& message);

  QNetworkAccessManager network_;
  QPointer<QNetworkReply> reply_;
  QTimer deadline_;
  QUrl url_;
  bool running_ = false;
};

}  // namespace zs

#endif  // ZEPHYRSTAT_FRONTEND_PAGE_FETCHER_H_
