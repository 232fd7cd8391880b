#pragma once
// Button sets of the program's message boxes and the answers they give.

namespace orv {

enum MessageBoxFlags : int {
  kBoxOk = 0,                 // OK
  kBoxOkError = 16,           // OK, error icon
  kBoxOkCancelQuestion = 33,  // OK and Cancel, question icon
  kBoxYesNoQuestion = 36,     // Yes and No, question icon
};

enum MessageBoxResult : int {
  kAnswerOk = 0,
  kAnswerCancel = 1,
  kAnswerYes = 5,
  kAnswerNo = 6,
};

}  // namespace orv
