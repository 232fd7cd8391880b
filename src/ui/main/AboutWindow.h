#pragma once

#include <QDialog>

namespace orv {

// The program's banner and a few words about it; modeless, owned by the main window.
class AboutWindow : public QDialog {
  Q_OBJECT
 public:
  explicit AboutWindow(QWidget* owner);
};

}  // namespace orv
