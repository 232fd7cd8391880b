#include "ui/main/MainLayout.h"

#include <initializer_list>

namespace orv {

MainLayout MainLayout::Form() {
  MainLayout f;
  f.header1 = {0, 12, 592, 66};
  f.headerText = {17, 27, 279, 38};
  f.mailIcon = {552, 32, 32, 32};
  f.header2 = {0, 78, 592, 3};
  f.header3 = {0, 81, 592, 3};
  f.busyBand = {0, 84, 16, 36};
  f.header4 = {0, 112, 592, 1};
  f.summary = {12, 94, 196, 22};
  f.likeButton = {168, 91, 64, 22};
  f.extractButton = {232, 91, 74, 22};
  f.configButton = {304, 91, 56, 22};
  f.list = {8, 115, 344, 402};
  f.previewCaption = {392, 91, 279, 22};
  f.downloadButton = {488, 88, 75, 22};
  f.browserButton = {560, 88, 87, 22};
  f.addLikeButton = {648, 88, 88, 22};
  f.prevButton = {744, 88, 16, 22};
  f.nextButton = {760, 88, 16, 22};
  f.closeButton = {784, 88, 16, 22};
  f.webView = {400, 115, 304, 381};
  f.backdrop = {504, 160, 456, 384};
  return f;
}

namespace {
// Results are computed in floating point and truncated toward zero when stored.
int Truncate(double v) { return static_cast<int>(v); }
}  // namespace

void LayoutPass(MainLayout& l, int clientWidth, int clientHeight) {
  const double w = clientWidth;
  const double h = clientHeight;

  for (Box* b : {&l.header1, &l.header2, &l.header3, &l.header4, &l.busyBand}) b->width = Truncate(w);
  l.webView.width = Truncate(w - (double(l.list.left) + l.list.width) - 19);
  l.backdrop.width = Truncate(w);
  l.previewCaption.width = l.webView.width;

  const int contentHeight = Truncate(h - (double(l.header3.top) + 43) - 12);
  l.list.height = contentHeight;
  l.webView.height = contentHeight;
  l.backdrop.height = l.webView.height;

  for (Box* b : {&l.header1, &l.header2, &l.header3, &l.header4, &l.busyBand, &l.backdrop}) b->left = 0;
  l.headerText.left = 17;
  l.list.left = 10;
  l.summary.left = l.list.left + 2;

  // The left toolbar group ends where the list ends.
  const double listRight = double(l.list.left) + l.list.width;
  l.configButton.left = Truncate(listRight - l.configButton.width);
  l.extractButton.left = Truncate(listRight - l.configButton.width - l.extractButton.width);
  l.likeButton.left =
      Truncate(listRight - l.configButton.width - l.extractButton.width - l.likeButton.width);

  l.webView.left = Truncate(listRight + 7);
  l.previewCaption.left = l.webView.left;

  // The right toolbar group runs leftwards from the web view's right edge.
  l.closeButton.left = Truncate(double(l.webView.left) + l.webView.width - l.closeButton.width);
  l.nextButton.left = l.closeButton.left - l.nextButton.width;
  l.prevButton.left = l.nextButton.left - l.prevButton.width;
  l.addLikeButton.left = l.prevButton.left - l.addLikeButton.width - 5;
  l.browserButton.left = l.addLikeButton.left - l.browserButton.width;
  l.downloadButton.left = l.browserButton.left - l.downloadButton.width;

  l.mailIcon.left = Truncate(w - l.mailIcon.width - 10);

  l.header1.top = 0;
  l.header2.top = l.header1.top + l.header1.height;
  l.header3.top = l.header2.top + l.header2.height;
  l.headerText.top = 17;

  l.list.top = l.header3.top + 43;
  l.header4.top = l.list.top - l.header4.height - 6;
  l.busyBand.top = l.header3.top + l.header3.height;

  l.backdrop.top = l.webView.top;  // the web view's top before this pass moves it

  l.extractButton.top = l.header3.top + 9;
  l.likeButton.top = l.extractButton.top;
  l.summary.top = l.extractButton.top;
  l.configButton.top = l.extractButton.top;

  l.webView.top = l.list.top;

  for (Box* b : {&l.previewCaption, &l.nextButton, &l.prevButton, &l.closeButton, &l.addLikeButton,
                 &l.browserButton, &l.downloadButton})
    b->top = l.extractButton.top;

  l.mailIcon.top = Truncate(l.header1.height / 2.0 - l.mailIcon.height / 2.0 + l.header1.top);
}

}  // namespace orv
