#include "platform/toolkit/WebEngineSetup.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QtGlobal>

namespace orv {
namespace {

void AddChromiumFlag(const char* flag) {
  QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
  if (flags.split(' ').contains(flag)) return;
  if (!flags.isEmpty()) flags += ' ';
  flags += flag;
  qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags);
}

}  // namespace

void PrepareWebEngineBeforeApplication() {
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  if (::geteuid() == 0) AddChromiumFlag("--no-sandbox");
}

void PrepareWebEngineAfterApplication() {
  const QString platform = QGuiApplication::platformName();
  if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal")) {
    AddChromiumFlag("--disable-gpu");
  }
}

}  // namespace orv
