#pragma once
// The program's one way of telling the user something: a modal message box
// with a fixed text and title, shown from any thread.

#include <functional>
#include <string>

#include "platform/MessageBoxFlags.h"

#include <QPointer>
#include <QWidget>

namespace orv {

struct MessageBoxRequest {
  std::string text;
  std::string title;
  int flags = kBoxOk;
  bool owned = false;  // an owner window was given
};

// Replaces the real boxes, e.g. in tests: it receives every request on the
// calling thread and returns the button "pressed". An empty answerer restores
// the real boxes.
using MessageBoxAnswerer = std::function<int(const MessageBoxRequest&)>;
void SetMessageBoxAnswerer(MessageBoxAnswerer answerer);

// Shows the box and returns when the user has closed it. From a worker thread
// the box is shown by the window thread while the worker waits; when the
// window side is gone the box is not shown and the answer is that of closing
// it (OK, Cancel or No).
int ShowMessageBox(const std::string& text, const std::string& title, QWidget* owner, int flags);

// The same for a worker whose owner window may go away meanwhile: the guard
// must have been made on the window thread. A box whose owner is gone is not
// shown.
int ShowMessageBox(const std::string& text, const std::string& title, const QPointer<QWidget>& owner,
                   int flags);

}  // namespace orv
