// Main of the test programs that need a QApplication: one per process, on a
// screen-less platform, with the web engine prepared as the program does it.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdlib>

#include "platform/toolkit/WebEngineSetup.h"
#include "platform/toolkit/WindowThread.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Caches and runtime files go to a throwaway folder, not the user's home.
  QTemporaryDir home;
  setenv("HOME", home.path().toLocal8Bit().constData(), 1);
  const QString runtime = home.path() + "/runtime";
  QDir().mkpath(runtime);
  QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  setenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit().constData(), 1);
  setenv("QT_QPA_PLATFORM", "offscreen", 0);

  orv::PrepareWebEngineBeforeApplication();
  QApplication app(argc, argv);
  orv::PrepareWebEngineAfterApplication();
  orv::WindowThread::Attach();
  int code = RUN_ALL_TESTS();
  orv::WindowThread::Detach();
  return code;
}
