#pragma once
// The program's one way of telling the user something: a modal message box
// with a fixed text and title, shown from any thread.

#include <functional>
#include <string>

class QWidget;

namespace orv {

// Button sets and icons.
enum MessageBoxFlags : int {
  kBoxOk = 0,                   // OK
  kBoxOkError = 16,             // OK, error icon
  kBoxOkCancelQuestion = 33,    // OK and Cancel, question icon
  kBoxYesNoQuestion = 36,       // Yes and No, question icon
};

// The button pressed.
enum MessageBoxResult : int {
  kAnswerOk = 0,
  kAnswerCancel = 1,
  kAnswerYes = 5,
  kAnswerNo = 6,
};

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

}  // namespace orv
