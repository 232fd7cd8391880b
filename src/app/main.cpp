#include <QApplication>

#include "app/Application.h"
#include "app/TerminationSignals.h"
#include "platform/toolkit/Shell.h"
#include "platform/toolkit/WebEngineSetup.h"
#include "platform/toolkit/WindowThread.h"

int main(int argc, char* argv[]) {
  orv::PrepareWebEngineBeforeApplication();
  QApplication qtApp(argc, argv);
  orv::PrepareWebEngineAfterApplication();
  orv::WindowThread::Attach();

  int code = 0;
  {
    orv::Application app({orv::RunDirectory(), orv::ScreenSize()});
    app.Start();
    orv::CloseOnTerminationSignals(&app.window());
    app.window().show();
    code = QApplication::exec();
    // A run still in progress must neither publish nor go on asking: retire it
    // before the workers waiting on the window are released.
    app.state().runs->Clear();
    orv::WindowThread::Detach();
  }
  return code;
}
