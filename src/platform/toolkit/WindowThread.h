#pragma once
// The one path by which worker threads touch the window: a call carried over
// to the window thread, the caller waiting for it.

#include <functional>
#include <optional>
#include <type_traits>

namespace orv {

class WindowThread {
 public:
  // On the window thread, once the application object exists.
  static void Attach();
  // After the event loop has ended: calls not yet run never run, and every
  // worker waiting in Run() is released at once.
  static void Detach();

  static bool IsWindowThread();
  static bool IsAttached();

  // Runs `fn` on the window thread and waits for it. On the window thread
  // itself the call is direct (a queued blocking call to oneself would
  // deadlock). False when it did not run because the window side is gone.
  static bool Run(const std::function<void()>& fn);

  // Run() for a callable with a result; empty when it did not run.
  template <typename F, typename R = std::invoke_result_t<F>>
  static std::optional<R> Call(F&& fn) {
    std::optional<R> result;
    Run([&] { result.emplace(fn()); });
    return result;
  }

  // Queues `fn` on the window thread without waiting. False when detached.
  static bool Post(std::function<void()> fn);

  // Blocks the calling worker until `ready()` holds or the window side is
  // detached; `ready` is evaluated under the same lock that Notify() takes.
  static bool WaitUntil(const std::function<bool()>& ready);
  // Wakes workers blocked in WaitUntil to test their condition again.
  static void Notify(const std::function<void()>& change);
};

}  // namespace orv
