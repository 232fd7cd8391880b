#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include <algorithm>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "app/Application.h"
#include "platform/Files.h"
#include "platform/Ini.h"
#include "settings/KeywordList.h"
#include "support/QtWait.h"
#include "support/BoxRecorder.h"
#include "support/LocalServer.h"
#include "support/TempDir.h"

namespace orv {
namespace {

class AppTest : public ::testing::Test {
 protected:
  AppConfig Config() {
    return {QString::fromStdString(dir.path()), QSize(1366, 768),
            "http://127.0.0.1:" + std::to_string(test::UnusedLocalPort()) + "/wxnew/"};
  }
  test::TempDir dir;
  // The first extraction of these tests finds a closed port and reports it.
  test::BoxRecorder boxes;
};

TEST_F(AppTest, StartSequenceRunsItsStepsInOrder) {
  Application app(Config());
  std::vector<std::string> order;
  app.steps().loadKeywords = [&] { order.push_back("keywords:" + app.state().paths.keywordFile); };
  app.steps().loadFeedSettings = [&] { order.push_back("settings"); };
  app.steps().loadDownloadWindow = [&] {
    // Placement and layout are done by now.
    order.push_back("download:" + std::to_string(app.window().webView()->x()));
  };
  app.steps().startFirstExtraction = [&] { order.push_back("extract"); };
  app.Start();
  EXPECT_EQ(order, (std::vector<std::string>{"keywords:" + dir.path() + "/WeChatWord.ini", "settings",
                                             "download:361", "extract"}));
  EXPECT_EQ(app.state().paths.settingsFile, dir.path() + "/WeChat.ini");
  EXPECT_EQ(app.state().paths.favoritesFile, dir.path() + "/MyLkie.ini");
  EXPECT_EQ(app.window().pos(), QPoint(197, 71));
  EXPECT_EQ(app.window().size(), QSize(971, 625));
  // The first layout pass ran on the form places.
  EXPECT_EQ(app.window().webView()->width(), 971 - 371);
}

TEST_F(AppTest, CloseSavesPlacementAndDestructionClearsTheRunSlot) {
  ASSERT_TRUE(WriteIniValue(dir.file("WeChat.ini"), "WIN", "kd", "800"));
  {
    Application app(Config());
    app.Start();
    EXPECT_EQ(app.window().width(), 800);
    app.window().show();
    app.window().move(30, 40);
    app.window().resize(820, 610);
    QCoreApplication::processEvents();
    app.state().runs->SetCurrent(5);
    app.window().close();
    EXPECT_EQ(ReadIniValue(dir.file("WeChat.ini"), "WIN", "wz"), "0");
    EXPECT_EQ(ReadIniValue(dir.file("WeChat.ini"), "WIN", "kd"), "820");
    EXPECT_EQ(ReadIniValue(dir.file("WeChat.ini"), "WIN", "gd"), "610");
    EXPECT_EQ(ReadIniValue(dir.file("WeChat.ini"), "WIN", "zb"), "30");
    EXPECT_EQ(ReadIniValue(dir.file("WeChat.ini"), "WIN", "db"), "40");
    EXPECT_EQ(app.state().runs->Current(), 5u);
  }
}

TEST_F(AppTest, ClosingMaximisedOrMinimisedStoresStateAndNormalGeometry) {
  struct Case {
    Qt::WindowState state;
    const char* stored;
  };
  for (const Case c : {Case{Qt::WindowMaximized, "3"}, Case{Qt::WindowMinimized, "2"}}) {
    std::filesystem::remove(dir.file("WeChat.ini"));
    Application app(Config());
    app.Start();
    app.window().show();
    app.window().move(25, 35);
    app.window().resize(700, 500);
    QCoreApplication::processEvents();
    app.window().setWindowState(c.state);
    QCoreApplication::processEvents();
    app.window().close();
    EXPECT_EQ(ReadIniValue(dir.file("WeChat.ini"), "WIN", "wz"), c.stored);
    EXPECT_EQ(ReadIniValue(dir.file("WeChat.ini"), "WIN", "kd"), "700");
    EXPECT_EQ(ReadIniValue(dir.file("WeChat.ini"), "WIN", "gd"), "500");
    EXPECT_EQ(ReadIniValue(dir.file("WeChat.ini"), "WIN", "zb"), "25");
    EXPECT_EQ(ReadIniValue(dir.file("WeChat.ini"), "WIN", "db"), "35");
  }
  // Stored maximised: the next start opens maximised.
  ASSERT_TRUE(WriteIniValue(dir.file("WeChat.ini"), "WIN", "wz", "3"));
  Application app(Config());
  app.Start();
  EXPECT_TRUE(app.window().windowState() & Qt::WindowMaximized);
}

TEST_F(AppTest, FirstExtractionAgainstAnUnreachableFeedReportsThreeTimesThenFails) {
  Application app(Config());
  app.Start();
  MainWindow& w = app.window();
  ASSERT_TRUE(test::WaitFor([&] { return w.extractButton()->isEnabled(); }, 20000));
  const std::string unknown = "错误:unknown error";
  EXPECT_EQ(boxes.Boxes(), (std::vector<std::string>{unknown, unknown, unknown,
                                                      "提取:提取失败\r\n1.关键词检索无效\r\n2.ApiKey失效或被拒绝"}));
  // No keyword file: the draws come from the built-in keywords.
  const QString summary = w.summary()->text();
  ASSERT_TRUE(summary.startsWith(QStringLiteral("关键词:")) && summary.endsWith(QStringLiteral(" 文章:0")));
  const std::string keyword = summary.mid(4, summary.size() - 4 - 5).toStdString();
  const auto& builtIn = BuiltInKeywords();
  EXPECT_NE(std::find(builtIn.begin(), builtIn.end(), keyword), builtIn.end()) << keyword;
  EXPECT_EQ(w.list()->count(), 0);
  EXPECT_FALSE(FileExists(dir.file("WeChatWord.ini")));  // loading never writes the list
}

TEST_F(AppTest, RunSlotIsClearedWhenTheWindowGoes) {
  auto app = std::make_unique<Application>(Config());
  app->Start();
  std::shared_ptr<AppState> state = app->sharedState();  // as a worker holds it
  state->runs->SetCurrent(9);
  app.reset();
  EXPECT_EQ(state->runs->Current(), 0u);
}

}  // namespace
}  // namespace orv
