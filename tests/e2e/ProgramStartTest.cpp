// The shipped program, started as a user starts it: no arguments, its files
// beside it, closed the ordinary way.

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>

#include <filesystem>

#include "platform/Files.h"
#include "platform/Ini.h"
#include "support/TempDir.h"

namespace orv {
namespace {

// The shipped program asks its real feed host; tests never reach the
// internet, so it runs in a network namespace of its own with no way out.
bool CanIsolateNetwork() {
  QProcess probe;
  probe.start(QStringLiteral("unshare"), {QStringLiteral("--net"), QStringLiteral("true")});
  return probe.waitForFinished(10000) && probe.exitStatus() == QProcess::NormalExit && probe.exitCode() == 0;
}

TEST(ProgramStart, StartsShowsItselfAndClosesSavingPlacement) {
  if (!CanIsolateNetwork()) GTEST_SKIP() << "needs unshare --net (root) to keep the program off the network";
  test::TempDir dir;
  // The run directory is the program's own folder: give it a private copy.
  const std::string program = dir.file("orvanta");
  std::filesystem::copy_file(ORVANTA_BINARY, program);
  ASSERT_TRUE(WriteIniValue(dir.file("WeChat.ini"), "WIN", "kd", "900"));

  QProcess process;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("HOME", QString::fromStdString(dir.path()));
  process.setProcessEnvironment(env);
  process.setProcessChannelMode(QProcess::MergedChannels);
  process.start(QStringLiteral("unshare"), {QStringLiteral("--net"), QString::fromStdString(program)});
  ASSERT_TRUE(process.waitForStarted(10000));
  // Long enough for the window and its web engine to come up, and for the
  // first extraction to fail and hold a message box open; a crash at start
  // (for instance the engine refusing to run as root) ends it sooner.
  EXPECT_FALSE(process.waitForFinished(4000)) << process.readAll().toStdString();
  ASSERT_EQ(process.state(), QProcess::Running);

  process.terminate();
  ASSERT_TRUE(process.waitForFinished(20000));
  EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << process.readAll().toStdString();
  EXPECT_EQ(process.exitCode(), 0);
  EXPECT_EQ(ReadIniValue(dir.file("WeChat.ini"), "WIN", "wz"), "0");
  EXPECT_EQ(ReadIniValue(dir.file("WeChat.ini"), "WIN", "kd"), "900");
  EXPECT_EQ(ReadIniValue(dir.file("WeChat.ini"), "WIN", "gd"), "625");
}

}  // namespace
}  // namespace orv
