#pragma once
// What the windows ask of the desktop: opening addresses and folders, a folder
// chooser, the screen size and the program's run directory.

#include <QSize>
#include <QString>
#include <QUrl>
#include <functional>

class QWidget;

namespace orv {

// Opens a URL in the default browser, or a folder (a local path) in the file
// manager. False when nothing could open it.
bool OpenInShell(const QString& addressOrPath);

// Replaces what OpenInShell does, e.g. in tests; empty restores the desktop's.
void SetShellOpener(std::function<bool(const QUrl&)> opener);

// A folder dialog with a prompt; empty when cancelled.
QString BrowseForFolder(QWidget* owner, const QString& prompt);

// Size of the primary screen in pixels.
QSize ScreenSize();

// The directory of the program file, without a trailing separator.
QString RunDirectory();

}  // namespace orv
