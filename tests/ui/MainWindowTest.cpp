#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include "platform/toolkit/WebView.h"
#include "ui/main/MainWindow.h"

namespace orv {
namespace {

template <typename T>
T* Find(MainWindow& w, const char* name) {
  T* found = w.findChild<T*>(QString::fromUtf8(name));
  EXPECT_NE(found, nullptr) << name;
  return found;
}

TEST(MainWindowControls, NamesKindsTextsAndStates) {
  MainWindow w;
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Orvanta"));
  EXPECT_EQ(w.palette().color(QPalette::Window), QColor(220, 220, 220));

  struct Button {
    const char* name;
    const char* caption;
    const char* tooltip;
    bool toggle;
  };
  const Button buttons[] = {
      {"按钮_收藏", "MyLike", "打开MyLike", true},
      {"按钮_提取", "读取列表", "读取文章列表", true},
      {"按钮_配置", "配置", "读取配置", true},
      {"按钮_下载管理", "Download", "文章下载管理器", true},
      {"按钮_浏览器打开", "浏览器打开", "在浏览器中打开当开页面", false},
      {"按钮_加入收藏", "加入MyLike", "加入收藏", false},
      {"按钮_上一篇", "<", "上一篇", false},
      {"按钮_下一篇", ">", "下一篇", false},
      {"按钮_关闭", "×", "关闭页面", false},
  };
  for (const Button& b : buttons) {
    auto* button = Find<QPushButton>(w, b.name);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), QString::fromUtf8(b.caption)) << b.name;
    EXPECT_EQ(button->toolTip(), QString::fromUtf8(b.tooltip)) << b.name;
    EXPECT_EQ(button->isCheckable(), b.toggle) << b.name;
    EXPECT_EQ(button->cursor().shape(), Qt::PointingHandCursor) << b.name;
    EXPECT_TRUE(button->isEnabled()) << b.name;
  }

  struct Label {
    const char* name;
    const char* caption;
  };
  for (const Label& l : {Label{"标签_标头文本", "Orvanta"}, Label{"标签_概要", "关键词:  文章:"},
                         Label{"标签_文章预览", "文章预览:"}}) {
    auto* label = Find<QLabel>(w, l.name);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), QString::fromUtf8(l.caption));
    EXPECT_EQ(label->textFormat(), Qt::PlainText) << l.name;  // titles with markup show as text
  }
  EXPECT_EQ(Find<QLabel>(w, "标签_标头文本")->palette().color(QPalette::WindowText), QColor(236, 236, 236));
  EXPECT_EQ(Find<QLabel>(w, "标签_标头文本")->font().pixelSize(), 19);

  for (const char* name : {"图片框_标头1", "图片框_给我写信", "图片框_标头2", "图片框_标头3", "图片框_标头5",
                           "图片框_标头4", "图片框_文章底图"})
    EXPECT_NE(Find<QLabel>(w, name), nullptr);
  EXPECT_EQ(w.header2()->backgroundColor(), QColor(0, 128, 64));
  EXPECT_EQ(w.header3()->backgroundColor(), QColor(0, 128, 0));
  EXPECT_EQ(w.busyBand()->backgroundColor(), QColor(0, 128, 64));
  EXPECT_EQ(w.header4()->backgroundColor(), QColor(192, 192, 192));
  EXPECT_FALSE(w.mailIcon()->pixmap().isNull());
  EXPECT_EQ(w.mailIcon()->pixmap().size(), QSize(32, 32));
  EXPECT_FALSE(w.backdrop()->pixmap().isNull());

  EXPECT_NE(Find<QListWidget>(w, "列表框1"), nullptr);
  EXPECT_NE(Find<WebView>(w, "超文本浏览框1"), nullptr);
  auto* timer = Find<QTimer>(w, "时钟_标头控制");
  ASSERT_NE(timer, nullptr);
  EXPECT_EQ(timer->interval(), 100);

  // Hidden at load: the busy band and the web view; everything else shows with the window.
  EXPECT_TRUE(w.busyBand()->isHidden());
  EXPECT_TRUE(w.webView()->isHidden());
  EXPECT_FALSE(w.list()->isHidden());
  EXPECT_FALSE(w.backdrop()->isHidden());
}

TEST(MainWindowControls, FormPlacesBeforeAnyPass) {
  MainWindow w;
  EXPECT_EQ(w.currentLayout(), MainLayout::Form());
  EXPECT_EQ(w.size(), QSize(971, 625));
}

TEST(MainWindowLayout, FirstPassThenResizeSettles) {
  for (QSize size : {QSize(971, 625), QSize(1200, 800)}) {
    MainWindow w;
    w.resize(size);
    w.layoutControls();
    const int W = size.width(), H = size.height();
    EXPECT_EQ(w.webView()->width(), W - 371);
    EXPECT_EQ(w.list()->height(), H - 136);
    EXPECT_EQ(w.backdrop()->y(), 115);
    w.layoutControls();
    EXPECT_EQ(w.webView()->geometry(), QRect(361, 112, W - 373, H - 124));
    EXPECT_EQ(w.list()->geometry(), QRect(10, 112, 344, H - 124));
    EXPECT_EQ(w.backdrop()->geometry(), QRect(0, 112, W, H - 124));
    EXPECT_EQ(w.closeButton()->x(), W - 28);
    EXPECT_EQ(w.downloadButton()->x(), W - 315);
    EXPECT_EQ(w.mailIcon()->pos(), QPoint(W - 42, 17));
    EXPECT_EQ(w.mailIcon()->backgroundColor(), QColor(7, 7, 7));
    EXPECT_EQ(w.backdrop()->backgroundColor(), QColor(220, 220, 220));

    // A size change of the shown window lays it out again.
    w.show();
    w.resize(W + 100, H + 50);
    QCoreApplication::processEvents();
    EXPECT_EQ(w.webView()->geometry(), QRect(361, 112, W + 100 - 373, H + 50 - 124));
    EXPECT_EQ(w.closeButton()->x(), W + 100 - 28);
  }
}

}  // namespace
}  // namespace orv
