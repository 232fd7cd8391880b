#pragma once
// Where the main window's controls stand, and the pass that places them from
// the window's client size. Plain data, so the arithmetic is tested without a
// window; the window copies its controls' places in, runs the pass, and copies
// them back.

namespace orv {

struct Box {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const Box&, const Box&) = default;
};

struct MainLayout {
  Box header1;        // 图片框_标头1
  Box headerText;     // 标签_标头文本
  Box mailIcon;       // 图片框_给我写信
  Box header2;        // 图片框_标头2
  Box header3;        // 图片框_标头3
  Box busyBand;       // 图片框_标头5
  Box header4;        // 图片框_标头4
  Box summary;        // 标签_概要
  Box likeButton;     // 按钮_收藏
  Box extractButton;  // 按钮_提取
  Box configButton;   // 按钮_配置
  Box list;           // 列表框1
  Box previewCaption; // 标签_文章预览
  Box downloadButton; // 按钮_下载管理
  Box browserButton;  // 按钮_浏览器打开
  Box addLikeButton;  // 按钮_加入收藏
  Box prevButton;     // 按钮_上一篇
  Box nextButton;     // 按钮_下一篇
  Box closeButton;    // 按钮_关闭
  Box webView;        // 超文本浏览框1
  Box backdrop;       // 图片框_文章底图

  friend bool operator==(const MainLayout&, const MainLayout&) = default;

  // The design places the window is built with.
  static MainLayout Form();
};

// Places every control for a client area of w × h. Each step reads the values
// the earlier steps of this pass left, or those of the previous pass; so the
// first pass, made on the design places, differs from every later one.
void LayoutPass(MainLayout& layout, int w, int h);

}  // namespace orv
