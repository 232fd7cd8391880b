#pragma once
// The main window's pictures, drawn at run time so the program ships no
// image files.

#include <QPixmap>

namespace orv {

// A 32 × 32 letter on a transparent ground: the "write to me" icon.
QPixmap MailIcon();

// A quiet pattern for the area behind the list and the preview.
QPixmap BackdropPicture(int width, int height);

}  // namespace orv
