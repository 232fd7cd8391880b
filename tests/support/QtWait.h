#pragma once
// Waits for a condition while the window thread's event loop runs freely.
// QTest::qWaitFor sleeps between rounds of events, which starves the web
// engine's message pump and turns a 0.2 s page load into seconds.

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

namespace orv::test {

template <typename Predicate>
bool WaitFor(Predicate ready, int timeoutMs = 15000) {
  if (ready()) return true;
  QEventLoop loop;
  QTimer poll;
  QElapsedTimer clock;
  clock.start();
  QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
    if (ready() || clock.elapsed() >= timeoutMs) loop.quit();
  });
  poll.start(5);
  loop.exec();
  return ready();
}

// Lets the event loop run for a while, without sleeping.
inline void RunEventsFor(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

}  // namespace orv::test
