#include "ui/main/AboutWindow.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/toolkit/Controls.h"
#include "ui/main/MainWindow.h"

namespace orv {

AboutWindow::AboutWindow(QWidget* owner) : QDialog(owner) {
  setObjectName(QStringLiteral("AboutWindow"));
  setWindowTitle(QStringLiteral("关于 Orvanta"));
  setModal(false);
  setAttribute(Qt::WA_DeleteOnClose);
  SetBackgroundColor(this, MainWindow::kBackground);

  auto* banner = new TextLabel(QStringLiteral("  Orvanta"), false, this);
  banner->setGradient(MainWindow::kGradient[0], MainWindow::kGradient[1], MainWindow::kGradient[2]);
  banner->setTextColor(QColor(236, 236, 236));
  banner->setStyleSheet(banner->styleSheet() + QStringLiteral("color: rgb(236,236,236); font-size: 19px;"));
  banner->setFixedHeight(66);

  auto* text = new TextLabel(QStringLiteral("公众号热门文章阅读、收藏与下载。\n版本 %1").arg(QStringLiteral(ORVANTA_VERSION)),
                             false, this);
  text->setWordWrap(true);
  auto* close = new QPushButton(QStringLiteral("确定"), this);
  connect(close, &QPushButton::clicked, this, &QDialog::close);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 12);
  layout->addWidget(banner);
  auto* body = new QVBoxLayout;
  body->setContentsMargins(16, 8, 16, 0);
  body->addWidget(text);
  body->addWidget(close, 0, Qt::AlignRight);
  layout->addLayout(body);
  resize(360, 180);
}

}  // namespace orv
