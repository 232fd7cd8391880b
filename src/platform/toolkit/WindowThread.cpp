#include "platform/toolkit/WindowThread.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QObject>
#include <QThread>

#include <condition_variable>
#include <memory>
#include <mutex>

#include "platform/Http.h"

namespace orv {
namespace {

// Never destroyed: detached workers may still wait on them while the process
// runs its exit handlers.
std::mutex& gMutex = *new std::mutex;
std::condition_variable& gChanged = *new std::condition_variable;
QObject* gTarget = nullptr;  // lives on the window thread while attached
QThread* gWindowThread = nullptr;
bool gAttached = false;

}  // namespace

void WindowThread::Attach() {
  std::lock_guard lock(gMutex);
  if (gAttached) return;
  gTarget = new QObject;
  gWindowThread = QThread::currentThread();
  gAttached = true;
  // A request made on the window thread keeps the window painting and
  // answering while it waits on the network.
  SetHttpWaitHook([] {
    if (WindowThread::IsWindowThread()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  });
}

void WindowThread::Detach() {
  // Run() lends its callable to the queued call; only the window thread, which
  // runs those calls, may end them.
  Q_ASSERT(IsWindowThread());
  QObject* target = nullptr;
  {
    std::lock_guard lock(gMutex);
    if (!gAttached) return;
    gAttached = false;
    target = gTarget;
    gTarget = nullptr;
  }
  SetHttpWaitHook({});
  gChanged.notify_all();
  delete target;  // drops queued calls that have not run
}

bool WindowThread::IsWindowThread() {
  std::lock_guard lock(gMutex);
  return gWindowThread && QThread::currentThread() == gWindowThread;
}

bool WindowThread::IsAttached() {
  std::lock_guard lock(gMutex);
  return gAttached;
}

bool WindowThread::Post(std::function<void()> fn) {
  std::lock_guard lock(gMutex);
  if (!gAttached) return false;
  return QMetaObject::invokeMethod(
      gTarget,
      [fn = std::move(fn)] {
        if (IsAttached()) fn();
      },
      Qt::QueuedConnection);
}

bool WindowThread::Run(const std::function<void()>& fn) {
  if (IsWindowThread()) {
    if (!IsAttached()) return false;
    fn();
    return true;
  }
  struct State {
    bool done = false;
    bool ran = false;
  };
  auto state = std::make_shared<State>();
  // `fn` is borrowed: the queued call only touches it while this caller is
  // still waiting, which `state->done` under the lock guarantees.
  bool posted = Post([state, &fn] {
    {
      std::lock_guard lock(gMutex);
      if (state->done) return;  // the caller gave up (detached)
    }
    fn();
    {
      std::lock_guard lock(gMutex);
      state->done = true;
      state->ran = true;
    }
    gChanged.notify_all();
  });
  if (!posted) return false;
  std::unique_lock lock(gMutex);
  gChanged.wait(lock, [&] { return state->done || !gAttached; });
  bool ran = state->ran;
  state->done = true;  // a call still queued must not run against a caller that left
  return ran;
}

bool WindowThread::WaitUntil(const std::function<bool()>& ready) {
  std::unique_lock lock(gMutex);
  gChanged.wait(lock, [&] { return ready() || !gAttached; });
  return ready();
}

void WindowThread::Notify(const std::function<void()>& change) {
  {
    std::lock_guard lock(gMutex);
    change();
  }
  gChanged.notify_all();
}

}  // namespace orv
