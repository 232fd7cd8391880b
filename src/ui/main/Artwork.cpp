#include "ui/main/Artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace orv {

QPixmap MailIcon() {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF body(4.5, 8.5, 23, 16);
  p.setPen(QPen(QColor(236, 236, 236), 1.5));
  p.setBrush(QColor(0, 128, 64));
  p.drawRoundedRect(body, 2, 2);
  QPainterPath flap;
  flap.moveTo(body.left() + 1, body.top() + 1);
  flap.lineTo(body.center().x(), body.top() + 9);
  flap.lineTo(body.right() - 1, body.top() + 1);
  p.setBrush(Qt::NoBrush);
  p.drawPath(flap);
  return pixmap;
}

QPixmap BackdropPicture(int width, int height) {
  QPixmap pixmap(qMax(1, width), qMax(1, height));
  QPainter p(&pixmap);
  QLinearGradient ground(0, 0, 0, pixmap.height());
  ground.setColorAt(0, QColor(232, 232, 232));
  ground.setColorAt(1, QColor(212, 216, 214));
  p.fillRect(pixmap.rect(), ground);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  // Soft rings in the lower right corner, in the header's green.
  for (int i = 0; i < 6; ++i) {
    QColor green(0, 128, 64, 10 + i * 3);
    p.setBrush(green);
    const double r = 40.0 + i * 36.0;
    p.drawEllipse(QPointF(pixmap.width() * 0.82, pixmap.height() * 0.9), r, r);
  }
  return pixmap;
}

}  // namespace orv
