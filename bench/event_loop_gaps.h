// What a player feels of the window while it works: the longest time between
// two turns of the event loop, noted by a 1 ms timer on the window's thread,
// and a way for a benchmark to let that loop run.
#ifndef ZEPHYRSTAT_BENCH_EVENT_LOOP_GAPS_H_
#define ZEPHYRSTAT_BENCH_EVENT_LOOP_GAPS_H_

#include <time.h>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QObject>
#include <QTimer>
#include <algorithm>
#include <cstdint>
#include <functional>

namespace zs {

// The longest time between two ticks of a 1 ms timer on this thread, and
// the longest processor time this thread spent between two ticks: the part
// of a gap the window's own work makes, without the waits for a processor
// that other programs cause on a loaded machine.
class LoopGaps {
 public:
  LoopGaps() {
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(1);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
  }
  void Start() {
    longest_ = 0;
    longestEnd_ = 0;
    longestWork_ = 0;
    clock_.start();
    last_ = 0;
    lastWork_ = ThreadNanoseconds();
    timer_.start();
  }
  double StopMilliseconds() {
    Tick();
    timer_.stop();
    return static_cast<double>(longest_) / 1e6;
  }
  // When the longest gap ended, from Start().
  double LongestEndMilliseconds() const { return static_cast<double>(longestEnd_) / 1e6; }
  // The most processor time between two ticks, until StopMilliseconds().
  double LongestWorkMilliseconds() const { return static_cast<double>(longestWork_) / 1e6; }

 private:
  void Tick() {
    const qint64 now = clock_.nsecsElapsed();
    if (now - last_ > longest_) {
      longest_ = now - last_;
      longestEnd_ = now;
    }
    last_ = now;
    const int64_t work = ThreadNanoseconds();
    longestWork_ = std::max(longestWork_, work - lastWork_);
    lastWork_ = work;
  }
  static int64_t ThreadNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return int64_t{now.tv_sec} * 1000000000 + now.tv_nsec;
  }

  QTimer timer_;
  QElapsedTimer clock_;
  qint64 last_ = 0;
  qint64 longest_ = 0;
  qint64 longestEnd_ = 0;
  int64_t lastWork_ = 0;
  int64_t longestWork_ = 0;
};

// Runs the event loop for `milliseconds`, or until `done` holds.
inline void Serve(int milliseconds, const std::function<bool()>& done = {}) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < milliseconds && !(done && done())) {
    QEventLoop loop;
    QTimer::singleShot(5, &loop, &QEventLoop::quit);
    loop.exec();
  }
}

}  // namespace zs

#endif  // ZEPHYRSTAT_BENCH_EVENT_LOOP_GAPS_H_
