#pragma once
// The control kinds the windows are built from. Every control is placed by
// hand at its design place; none of them sits in a Qt layout.

#include <QColor>
#include <QLabel>
#include <QPushButton>
#include <QString>

namespace orv {

// A flat button with a tooltip and a hand cursor; a toggle button stays
// checked after a click until the program clears it.
class SuperButton : public QPushButton {
  Q_OBJECT
 public:
  SuperButton(const QString& caption, const QString& tooltip, bool toggle, QWidget* parent);
};

// Shows text as text: external titles and keywords with markup in them are
// displayed, never rendered. The transparent kind lets the window show through.
class TextLabel : public QLabel {
  Q_OBJECT
 public:
  TextLabel(const QString& caption, bool transparent, QWidget* parent);
  void setTextColor(const QColor& color);
  void setBackgroundColor(const QColor& color);
  // A left-to-right gradient through three colours.
  void setGradient(const QColor& a, const QColor& b, const QColor& c);
};

// A picture or a plain coloured area that reports left-button presses.
class PictureBox : public QLabel {
  Q_OBJECT
 public:
  explicit PictureBox(QWidget* parent);
  void setBackgroundColor(const QColor& color);
  QColor backgroundColor() const { return background_; }

 signals:
  void leftPressed();
  void leftReleased();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QColor background_;
};

// Sets a widget's background colour through its palette.
void SetBackgroundColor(QWidget* widget, const QColor& color);

}  // namespace orv
