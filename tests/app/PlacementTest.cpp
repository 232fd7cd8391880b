#include <gtest/gtest.h>

#include <string>

#include "app/Placement.h"
#include "platform/Files.h"
#include "platform/Ini.h"
#include "support/TempDir.h"

namespace orv {
namespace {

// A window that reports every state at once, as the placement rules assume.
class FakeWindow : public PlacedWindow {
 public:
  int state = kStateNormal;
  int w = 971, h = 625, x = 50, y = 50;
  int displayState() const override { return state; }
  void setDisplayState(int s) override { state = s; }
  int width() const override { return w; }
  int height() const override { return h; }
  int left() const override { return x; }
  int top() const override { return y; }
  void setWidth(int v) override { w = v; }
  void setHeight(int v) override { h = v; }
  void setLeft(int v) override { x = v; }
  void setTop(int v) override { y = v; }
};

class PlacementTest : public ::testing::Test {
 protected:
  void Store(const std::string& content) { ASSERT_TRUE(WriteFileBytes(file, content)); }
  test::TempDir dir;
  std::string file = dir.file("WeChat.ini");
  FakeWindow window;
};

TEST_F(PlacementTest, FirstStartCentresTheFormSizeDroppingHalfPixels) {
  RestorePlacement(file, window, 1366, 768);
  EXPECT_EQ(window.state, kStateNormal);
  EXPECT_EQ(window.w, 971);
  EXPECT_EQ(window.h, 625);
  EXPECT_EQ(window.x, 197);  // 683 - 485.5
  EXPECT_EQ(window.y, 71);   // 384 - 312.5
  EXPECT_FALSE(FileExists(file));  // restoring writes nothing
}

TEST_F(PlacementTest, StoredValuesTable) {
  struct Case {
    const char* content;
    int state, w, h, x, y;
  };
  const Case cases[] = {
      {"[WIN]\r\nwz=0\r\nkd=800\r\ngd=600\r\nzb=10\r\ndb=20\r\n", kStateNormal, 800, 600, 10, 20},
      // Minimised comes back normal with the stored size and place.
      {"[WIN]\r\nwz=2\r\nkd=800\r\ngd=600\r\nzb=10\r\ndb=20\r\n", kStateNormal, 800, 600, 10, 20},
      // Maximised: size and place are left as they were.
      {"[WIN]\r\nwz=3\r\nkd=800\r\ngd=600\r\nzb=10\r\ndb=20\r\n", kStateMaximised, 971, 625, 50, 50},
      // A width wider than the screen and no left edge: a negative left edge.
      {"[WIN]\r\nkd=2000\r\n", kStateNormal, 2000, 625, -317, 71},
      {"[WIN]\r\nkd=800\r\ngd=601\r\n", kStateNormal, 800, 601, 283, 83},  // 384 - 300.5
      // Values that are not numbers give their leading integer or 0.
      {"[win]\r\nKD=abc\r\ngd= 640px\r\nzb=-5.9\r\ndb=\r\n", kStateNormal, 0, 640, -5, 0},
      {"[WIN]\r\nwz=junk\r\n", kStateNormal, 971, 625, 197, 71},
  };
  for (const Case& c : cases) {
    Store(c.content);
    window = FakeWindow{};
    RestorePlacement(file, window, 1366, 768);
    EXPECT_EQ(window.state, c.state) << c.content;
    EXPECT_EQ(window.w, c.w) << c.content;
    EXPECT_EQ(window.h, c.h) << c.content;
    EXPECT_EQ(window.x, c.x) << c.content;
    EXPECT_EQ(window.y, c.y) << c.content;
  }
}

TEST_F(PlacementTest, SaveWritesStateThenNormalGeometry) {
  Store("[WECHAT]\r\nnum=50\r\n");
  for (int state : {kStateNormal, kStateMinimised, kStateMaximised}) {
    window = FakeWindow{};
    window.state = state;
    window.w = 900;
    window.h = 700;
    window.x = -3;
    window.y = 12;
    SavePlacement(file, window);
    EXPECT_EQ(window.state, kStateNormal);
    EXPECT_EQ(ReadIniValue(file, "WIN", "wz"), std::to_string(state));
    EXPECT_EQ(ReadIniValue(file, "WIN", "kd"), "900");
    EXPECT_EQ(ReadIniValue(file, "WIN", "gd"), "700");
    EXPECT_EQ(ReadIniValue(file, "WIN", "zb"), "-3");
    EXPECT_EQ(ReadIniValue(file, "WIN", "db"), "12");
    EXPECT_EQ(ReadIniValue(file, "WECHAT", "num"), "50");  // other sections untouched
  }
}

TEST_F(PlacementTest, SaveToAnUnwritablePlaceIsQuiet) {
  SavePlacement(dir.file("missing/WeChat.ini"), window);
  EXPECT_FALSE(FileExists(dir.file("missing")));
}

}  // namespace
}  // namespace orv
