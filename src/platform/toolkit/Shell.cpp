#include "platform/toolkit/Shell.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>

#include <mutex>

namespace orv {
namespace {
std::mutex gOpenerMutex;
std::function<bool(const QUrl&)> gOpener;
}  // namespace

void SetShellOpener(std::function<bool(const QUrl&)> opener) {
  std::lock_guard lock(gOpenerMutex);
  gOpener = std::move(opener);
}

bool OpenInShell(const QString& addressOrPath) {
  if (addressOrPath.isEmpty()) return false;
  QUrl url = QFileInfo(addressOrPath).isAbsolute() ? QUrl::fromLocalFile(addressOrPath)
                                                   : QUrl::fromUserInput(addressOrPath);
  std::function<bool(const QUrl&)> opener;
  {
    std::lock_guard lock(gOpenerMutex);
    opener = gOpener;
  }
  if (opener) return opener(url);
  return QDesktopServices::openUrl(url);
}

QString BrowseForFolder(QWidget* owner, const QString& prompt) {
  return QFileDialog::getExistingDirectory(owner, prompt);
}

QSize ScreenSize() {
  QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->size() : QSize(1024, 768);
}

QString RunDirectory() {
  QString dir = QDir::cleanPath(QCoreApplication::applicationDirPath());
  while (dir.size() > 1 && dir.endsWith('/')) dir.chop(1);
  return dir;
}

}  // namespace orv
