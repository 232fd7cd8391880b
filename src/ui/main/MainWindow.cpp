#include "ui/main/MainWindow.h"

#include <QCloseEvent>
#include <QFont>
#include <QResizeEvent>

#include "ui/main/Artwork.h"

namespace orv {

const QColor MainWindow::kBackground(220, 220, 220);
const QColor MainWindow::kGradient[3] = {QColor(64, 64, 64), QColor(32, 32, 32), QColor(7, 7, 7)};

namespace {

template <typename W>
W* Named(W* widget, const char* name) {
  widget->setObjectName(QString::fromUtf8(name));
  return widget;
}

void Place(QWidget* w, const Box& b) { w->setGeometry(b.left, b.top, b.width, b.height); }

Box BoxOf(const QWidget* w) { return {w->x(), w->y(), w->width(), w->height()}; }

}  // namespace

MainWindow::MainWindow(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("MainWindow"));
  setWindowTitle(QStringLiteral("Orvanta"));
  SetBackgroundColor(this, kBackground);
  setGeometry(50, 50, 971, 625);

  // Created back to front: later controls are drawn over earlier ones, and
  // the backdrop lies under everything.
  backdrop_ = Named(new PictureBox(this), "图片框_文章底图");
  backdrop_->setScaledContents(true);
  backdrop_->setPixmap(BackdropPicture(456, 384));

  header1_ = Named(new TextLabel(QString(), false, this), "图片框_标头1");
  header1_->setGradient(kGradient[0], kGradient[1], kGradient[2]);

  headerText_ = Named(new TextLabel(QStringLiteral("Orvanta"), true, this), "标签_标头文本");
  headerText_->setTextColor(QColor(236, 236, 236));
  QFont captionFont(QStringList{QStringLiteral("Microsoft YaHei UI Light"), QStringLiteral("WenQuanYi Micro Hei Light"),
                                QStringLiteral("WenQuanYi Micro Hei")});
  captionFont.setPixelSize(19);
  captionFont.setWeight(QFont::Light);
  headerText_->setFont(captionFont);

  mailIcon_ = Named(new PictureBox(this), "图片框_给我写信");
  mailIcon_->setPixmap(MailIcon());
  mailIcon_->setCursor(Qt::PointingHandCursor);

  header2_ = Named(new PictureBox(this), "图片框_标头2");
  header2_->setBackgroundColor(QColor(0, 128, 64));
  header3_ = Named(new PictureBox(this), "图片框_标头3");
  header3_->setBackgroundColor(QColor(0, 128, 0));
  busyBand_ = Named(new PictureBox(this), "图片框_标头5");
  busyBand_->setBackgroundColor(QColor(0, 128, 64));
  header4_ = Named(new PictureBox(this), "图片框_标头4");
  header4_->setBackgroundColor(QColor(192, 192, 192));

  summary_ = Named(new TextLabel(QStringLiteral("关键词:  文章:"), true, this), "标签_概要");
  likeButton_ = Named(new SuperButton(QStringLiteral("MyLike"), QStringLiteral("打开MyLike"), true, this), "按钮_收藏");
  extractButton_ =
      Named(new SuperButton(QStringLiteral("读取列表"), QStringLiteral("读取文章列表"), true, this), "按钮_提取");
  configButton_ = Named(new SuperButton(QStringLiteral("配置"), QStringLiteral("读取配置"), true, this), "按钮_配置");
  list_ = Named(new QListWidget(this), "列表框1");
  previewCaption_ = Named(new TextLabel(QStringLiteral("文章预览:"), true, this), "标签_文章预览");
  downloadButton_ =
      Named(new SuperButton(QStringLiteral("Download"), QStringLiteral("文章下载管理器"), true, this), "按钮_下载管理");
  browserButton_ = Named(
      new SuperButton(QStringLiteral("浏览器打开"), QStringLiteral("在浏览器中打开当开页面"), false, this), "按钮_浏览器打开");
  addLikeButton_ =
      Named(new SuperButton(QStringLiteral("加入MyLike"), QStringLiteral("加入收藏"), false, this), "按钮_加入收藏");
  prevButton_ = Named(new SuperButton(QStringLiteral("<"), QStringLiteral("上一篇"), false, this), "按钮_上一篇");
  nextButton_ = Named(new SuperButton(QStringLiteral(">"), QStringLiteral("下一篇"), false, this), "按钮_下一篇");
  closeButton_ = Named(new SuperButton(QStringLiteral("×"), QStringLiteral("关闭页面"), false, this), "按钮_关闭");
  webView_ = Named(new WebView(this), "超文本浏览框1");

  captionTimer_ = Named(new QTimer(this), "时钟_标头控制");
  captionTimer_->setInterval(100);

  applyLayout(MainLayout::Form());
  busyBand_->hide();
  webView_->hide();
}

MainLayout MainWindow::currentLayout() const {
  MainLayout l;
  l.header1 = BoxOf(header1_);
  l.headerText = BoxOf(headerText_);
  l.mailIcon = BoxOf(mailIcon_);
  l.header2 = BoxOf(header2_);
  l.header3 = BoxOf(header3_);
  l.busyBand = BoxOf(busyBand_);
  l.header4 = BoxOf(header4_);
  l.summary = BoxOf(summary_);
  l.likeButton = BoxOf(likeButton_);
  l.extractButton = BoxOf(extractButton_);
  l.configButton = BoxOf(configButton_);
  l.list = BoxOf(list_);
  l.previewCaption = BoxOf(previewCaption_);
  l.downloadButton = BoxOf(downloadButton_);
  l.browserButton = BoxOf(browserButton_);
  l.addLikeButton = BoxOf(addLikeButton_);
  l.prevButton = BoxOf(prevButton_);
  l.nextButton = BoxOf(nextButton_);
  l.closeButton = BoxOf(closeButton_);
  l.webView = BoxOf(webView_);
  l.backdrop = BoxOf(backdrop_);
  return l;
}

void MainWindow::applyLayout(const MainLayout& l) {
  Place(header1_, l.header1);
  Place(headerText_, l.headerText);
  Place(mailIcon_, l.mailIcon);
  Place(header2_, l.header2);
  Place(header3_, l.header3);
  Place(busyBand_, l.busyBand);
  Place(header4_, l.header4);
  Place(summary_, l.summary);
  Place(likeButton_, l.likeButton);
  Place(extractButton_, l.extractButton);
  Place(configButton_, l.configButton);
  Place(list_, l.list);
  Place(previewCaption_, l.previewCaption);
  Place(downloadButton_, l.downloadButton);
  Place(browserButton_, l.browserButton);
  Place(addLikeButton_, l.addLikeButton);
  Place(prevButton_, l.prevButton);
  Place(nextButton_, l.nextButton);
  Place(closeButton_, l.closeButton);
  Place(webView_, l.webView);
  Place(backdrop_, l.backdrop);
}

void MainWindow::layoutControls() {
  // The icon sits on the band's darkest end; the backdrop shows the window's colour at its edges.
  mailIcon_->setBackgroundColor(kGradient[2]);
  backdrop_->setBackgroundColor(kBackground);
  MainLayout layout = currentLayout();
  LayoutPass(layout, width(), height());
  applyLayout(layout);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  layoutControls();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  emit closing();
  event->accept();
}

}  // namespace orv
