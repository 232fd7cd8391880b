#include <gtest/gtest.h>

#include "ui/main/MainLayout.h"

namespace orv {
namespace {

// What every pass after the first gives for a client area of w × h.
void ExpectSettled(const MainLayout& l, int w, int h) {
  EXPECT_EQ(l.header1, (Box{0, 0, w, 66}));
  EXPECT_EQ(l.header2, (Box{0, 66, w, 3}));
  EXPECT_EQ(l.header3, (Box{0, 69, w, 3}));
  EXPECT_EQ(l.busyBand, (Box{0, 72, w, 36}));
  EXPECT_EQ(l.header4, (Box{0, 105, w, 1}));
  EXPECT_EQ(l.headerText, (Box{17, 17, 279, 38}));
  EXPECT_EQ(l.list, (Box{10, 112, 344, h - 124}));
  EXPECT_EQ(l.webView, (Box{361, 112, w - 373, h - 124}));
  EXPECT_EQ(l.backdrop, (Box{0, 112, w, h - 124}));
  EXPECT_EQ(l.summary, (Box{12, 78, 196, 22}));
  EXPECT_EQ(l.configButton, (Box{298, 78, 56, 22}));
  EXPECT_EQ(l.extractButton, (Box{224, 78, 74, 22}));
  EXPECT_EQ(l.likeButton, (Box{160, 78, 64, 22}));
  EXPECT_EQ(l.previewCaption, (Box{361, 78, w - 373, 22}));
  EXPECT_EQ(l.closeButton, (Box{w - 28, 78, 16, 22}));
  EXPECT_EQ(l.nextButton, (Box{w - 44, 78, 16, 22}));
  EXPECT_EQ(l.prevButton, (Box{w - 60, 78, 16, 22}));
  EXPECT_EQ(l.addLikeButton, (Box{w - 153, 78, 88, 22}));
  EXPECT_EQ(l.browserButton, (Box{w - 240, 78, 87, 22}));
  EXPECT_EQ(l.downloadButton, (Box{w - 315, 78, 75, 22}));
  EXPECT_EQ(l.mailIcon, (Box{w - 42, 17, 32, 32}));
}

class LayoutSizes : public ::testing::TestWithParam<std::pair<int, int>> {};

TEST_P(LayoutSizes, FirstPassFromTheFormThenSettled) {
  const auto [w, h] = GetParam();
  MainLayout l = MainLayout::Form();
  LayoutPass(l, w, h);
  // The first pass still reads the list at left 8, the rule at top 81 and the web view at top 115.
  EXPECT_EQ(l.webView.width, w - 371);
  EXPECT_EQ(l.list.height, h - 136);
  EXPECT_EQ(l.webView.height, h - 136);
  EXPECT_EQ(l.backdrop.top, 115);
  EXPECT_EQ(l.webView.top, 112);
  LayoutPass(l, w, h);
  ExpectSettled(l, w, h);
  LayoutPass(l, w, h);
  ExpectSettled(l, w, h);
}

INSTANTIATE_TEST_SUITE_P(TwoWindowSizes, LayoutSizes,
                         ::testing::Values(std::pair{971, 625}, std::pair{1366, 738}));

TEST(Layout, OnlyListWebViewAndBackdropHeightsFollowTheWindow) {
  MainLayout a = MainLayout::Form();
  MainLayout b = MainLayout::Form();
  for (int i = 0; i < 2; ++i) {
    LayoutPass(a, 800, 500);
    LayoutPass(b, 800, 900);
  }
  EXPECT_EQ(b.list.height - a.list.height, 400);
  EXPECT_EQ(b.webView.height - a.webView.height, 400);
  EXPECT_EQ(b.backdrop.height - a.backdrop.height, 400);
  EXPECT_EQ(a.header1.height, b.header1.height);
  EXPECT_EQ(a.busyBand.height, b.busyBand.height);
  EXPECT_EQ(a.extractButton, b.extractButton);
}

TEST(Layout, TinyWindowGivesNegativeSizesWithoutHarm) {
  MainLayout l = MainLayout::Form();
  LayoutPass(l, 100, 50);
  LayoutPass(l, 100, 50);
  EXPECT_EQ(l.webView.width, 100 - 373);
  EXPECT_EQ(l.list.height, 50 - 124);
}

}  // namespace
}  // namespace orv
