#include "platform/toolkit/Controls.h"

#include <QMouseEvent>
#include <QPalette>

namespace orv {

void SetBackgroundColor(QWidget* widget, const QColor& color) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Window, color);
  widget->setPalette(palette);
  widget->setAutoFillBackground(true);
}

SuperButton::SuperButton(const QString& caption, const QString& tooltip, bool toggle, QWidget* parent)
    : QPushButton(caption, parent) {
  setToolTip(tooltip);
  setCheckable(toggle);
  setCursor(Qt::PointingHandCursor);
  setFocusPolicy(Qt::NoFocus);
}

TextLabel::TextLabel(const QString& caption, bool transparent, QWidget* parent) : QLabel(parent) {
  setTextFormat(Qt::PlainText);
  setText(caption);
  if (transparent) {
    setAttribute(Qt::WA_TranslucentBackground);
    setAutoFillBackground(false);
  }
}

void TextLabel::setTextColor(const QColor& color) {
  QPalette palette = this->palette();
  palette.setColor(QPalette::WindowText, color);
  setPalette(palette);
}

void TextLabel::setBackgroundColor(const QColor& color) { SetBackgroundColor(this, color); }

void TextLabel::setGradient(const QColor& a, const QColor& b, const QColor& c) {
  setStyleSheet(QStringLiteral("background: qlineargradient(x1:0, y1:0, x2:1, y2:0, "
                               "stop:0 %1, stop:0.5 %2, stop:1 %3);")
                    .arg(a.name(), b.name(), c.name()));
}

PictureBox::PictureBox(QWidget* parent) : QLabel(parent) { setAlignment(Qt::AlignCenter); }

void PictureBox::setBackgroundColor(const QColor& color) {
  background_ = color;
  SetBackgroundColor(this, color);
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) emit leftPressed();
  QLabel::mousePressEvent(event);
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) emit leftReleased();
  QLabel::mouseReleaseEvent(event);
}

}  // namespace orv
