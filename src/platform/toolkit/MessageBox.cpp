#include "platform/toolkit/MessageBox.h"

#include <QMessageBox>
#include <QPointer>

#include <memory>
#include <mutex>

#include "platform/toolkit/WindowThread.h"

namespace orv {
namespace {

// Never destroyed: a late worker may still ask for a box during exit.
std::mutex& gAnswererMutex = *new std::mutex;
MessageBoxAnswerer& gAnswerer = *new MessageBoxAnswerer;

// What closing the box without pressing a button means.
int CloseAnswer(int flags) {
  switch (flags) {
    case kBoxOkCancelQuestion: return kAnswerCancel;
    case kBoxYesNoQuestion: return kAnswerNo;
    default: return kAnswerOk;
  }
}

int ToAnswer(QMessageBox::StandardButton button, int flags) {
  switch (button) {
    case QMessageBox::Ok: return kAnswerOk;
    case QMessageBox::Cancel: return kAnswerCancel;
    case QMessageBox::Yes: return kAnswerYes;
    case QMessageBox::No: return kAnswerNo;
    default: return CloseAnswer(flags);
  }
}

QMessageBox* MakeBox(const std::string& text, const std::string& title, QWidget* owner, int flags) {
  auto* box = new QMessageBox(owner);
  box->setTextFormat(Qt::PlainText);
  box->setText(QString::fromStdString(text));
  box->setWindowTitle(QString::fromStdString(title));
  box->setWindowModality(Qt::ApplicationModal);
  switch (flags) {
    case kBoxOkError:
      box->setIcon(QMessageBox::Critical);
      box->setStandardButtons(QMessageBox::Ok);
      break;
    case kBoxOkCancelQuestion:
      box->setIcon(QMessageBox::Question);
      box->setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
      box->setEscapeButton(QMessageBox::Cancel);
      break;
    case kBoxYesNoQuestion:
      box->setIcon(QMessageBox::Question);
      box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      box->setEscapeButton(QMessageBox::No);
      break;
    default:
      box->setIcon(QMessageBox::NoIcon);
      box->setStandardButtons(QMessageBox::Ok);
      break;
  }
  return box;
}

}  // namespace

void SetMessageBoxAnswerer(MessageBoxAnswerer answerer) {
  std::lock_guard lock(gAnswererMutex);
  gAnswerer = std::move(answerer);
}

namespace {

int Show(const std::string& text, const std::string& title, QWidget* directOwner,
         const QPointer<QWidget>& guardedOwner, bool owned, int flags) {
  MessageBoxAnswerer answerer;
  {
    std::lock_guard lock(gAnswererMutex);
    answerer = gAnswerer;
  }
  if (answerer) return answerer(MessageBoxRequest{text, title, flags, owned});

  if (WindowThread::IsWindowThread()) {
    QWidget* owner = owned ? (directOwner ? directOwner : guardedOwner.data()) : nullptr;
    if (owned && !owner) return CloseAnswer(flags);
    // The owner may go away while the box runs its own loop, taking the box
    // with it: hold it by a guard, not by ownership.
    QPointer<QMessageBox> box(MakeBox(text, title, owner, flags));
    box->exec();
    if (!box) return CloseAnswer(flags);
    const int answer = ToAnswer(box->standardButton(box->clickedButton()), flags);
    delete box;
    return answer;
  }

  // From a worker: the window thread opens the box without a nested event
  // loop of its own; the worker waits for the answer.
  struct State {
    bool done = false;
    int answer = 0;
  };
  auto state = std::make_shared<State>();
  state->answer = CloseAnswer(flags);
  bool posted = WindowThread::Post([=] {
    if (owned && !guardedOwner) {  // the owner went away before the box could open
      WindowThread::Notify([&] { state->done = true; });
      return;
    }
    QMessageBox* box = MakeBox(text, title, guardedOwner.data(), flags);
    box->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(box, &QMessageBox::finished, box, [box, state, flags] {
      int answer = ToAnswer(box->standardButton(box->clickedButton()), flags);
      WindowThread::Notify([&] {
        state->answer = answer;
        state->done = true;
      });
    });
    // A box destroyed with its owner never finishes: release the worker.
    QObject::connect(box, &QObject::destroyed, [state] { WindowThread::Notify([&] { state->done = true; }); });
    // show(), not open(): open() would make the box modal to its owner only.
    box->show();
  });
  if (!posted) return state->answer;
  WindowThread::WaitUntil([&] { return state->done; });
  return state->answer;  // written before `done`, under the lock the wait took
}

}  // namespace

int ShowMessageBox(const std::string& text, const std::string& title, QWidget* owner, int flags) {
  // A worker must not make a guard of a window it does not own; the window
  // thread can.
  // A worker passing a raw owner must keep it alive for the call; the guard
  // is made on the window thread, where the owner lives.
  if (WindowThread::IsWindowThread()) return Show(text, title, owner, QPointer<QWidget>(owner), owner != nullptr, flags);
  QPointer<QWidget> guard;
  if (owner) WindowThread::Run([&] { guard = owner; });
  return Show(text, title, nullptr, guard, owner != nullptr, flags);
}

int ShowMessageBox(const std::string& text, const std::string& title, const QPointer<QWidget>& owner,
                   int flags) {
  return Show(text, title, nullptr, owner, true, flags);
}

}  // namespace orv
