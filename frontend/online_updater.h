// The online update as the window and the command-line tool run it: plans
// the request, fetches the results page asynchronously (the event loop keeps
// running), then reads the page and stores what it read in one transaction
// on a worker thread, so neither a long page nor a long change holds up the
// caller's thread. One FetchTimeout time limit covers the fetch and the
// reading of the page together.
//
// Exactly one of finished() or failed() follows every start(), never from
// within start() itself. A failure (no edition chosen, no connection, an
// HTTP error, the time limit, a page without draws) leaves the history as
// it was. While isRunning(), the caller must not change the history.
#ifndef ZEPHYRSTAT_FRONTEND_ONLINE_UPDATER_H_
#define ZEPHYRSTAT_FRONTEND_ONLINE_UPDATER_H_

#include <QMetaType>
#include <QObject>
#include <QString>
#include <QThread>
#include <exception>
#include <memory>

#include "core/issue_number.h"
#include "core/settings.h"
#include "frontend/page_fetcher.h"
#include "history/history.h"
#include "history/update.h"

namespace zs {

class OnlineUpdater : public QObject {
  Q_OBJECT

 public:
  explicit OnlineUpdater(QObject* parent = nullptr);
  // Waits for a page still being read.
  ~OnlineUpdater() override;

  // Precondition: !isRunning(); `history` outlives the update and nothing
  // else changes it until finished() or failed().
  void start(History& history, const Settings& settings, const Date& today);
  bool isRunning() const { return running_; }
  // After failed(): the engine's exception when the engine refused (planning
  // or applying the page), so a caller can tell bad input from a store
  // fault; null when the page could not be fetched.
  std::exception_ptr engineFailure() const { return engineFailure_; }

 signals:
  void finished(const zs::UpdateReport& report);
  void failed(const QString& message);

 private:
  struct PageRead;

  void onFetched(const QByteArray& body);
  void storeRead(const PageRead& read);
  void fail(const QString& message);

  PageFetcher fetcher_;
  History* history_ = nullptr;
  Settings settings_;
  Date today_;
  UpdatePlan plan_;
  UpdateDeadline deadline_;
  QThread* reader_ = nullptr;
  bool running_ = false;
  std::exception_ptr engineFailure_;
};

// Today's date by the system clock.
Date Today();

// One line for the status bar: how many draws were added, the issues looked
// up, and what else happened.
QString UpdateSummary(const UpdateReport& report);

}  // namespace zs

Q_DECLARE_METATYPE(zs::UpdateReport)

#endif  // ZEPHYRSTAT_FRONTEND_ONLINE_UPDATER_H_
