#include "app/TerminationSignals.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QPointer>
#include <QSocketNotifier>
#include <QWidget>
#include <csignal>

namespace orv {
namespace {

int gSignalPipe[2] = {-1, -1};

// Only async-signal-safe work here: the window is closed from the event loop.
void OnSignal(int) {
  char byte = 1;
  [[maybe_unused]] ssize_t n = ::write(gSignalPipe[1], &byte, 1);
}

}  // namespace

void CloseOnTerminationSignals(QWidget* window) {
  // Non-blocking: a burst of signals must never block inside the handler.
  if (gSignalPipe[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, gSignalPipe) != 0)
    return;
  auto* notifier = new QSocketNotifier(gSignalPipe[0], QSocketNotifier::Read, window);
  QObject::connect(notifier, &QSocketNotifier::activated, window, [window] {
    char buffer[16];
    [[maybe_unused]] ssize_t n = ::read(gSignalPipe[0], buffer, sizeof buffer);
    window->close();
  });
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  ::sigaction(SIGTERM, &action, nullptr);
  ::sigaction(SIGINT, &action, nullptr);
}

}  // namespace orv
