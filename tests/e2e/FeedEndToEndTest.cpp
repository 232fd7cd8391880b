// The whole program around a local feed server and local article pages:
// start, the first extraction, the preview, stepping through articles, and
// the add button following the favourites file.

#include <gtest/gtest.h>

#include <QTest>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <string>
#include <vector>

#include "app/Application.h"
#include "platform/Files.h"
#include "platform/Codepage.h"
#include "support/QtWait.h"
#include "support/BoxRecorder.h"
#include "support/LocalServer.h"
#include "support/TempDir.h"

namespace orv {
namespace {

constexpr int kArticles = 20;

class FeedEndToEndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    server.server().Get("/wxnew/", [this](const httplib::Request& req, httplib::Response& res) {
      // One page of twenty articles; later pages are short, which ends the feed.
      if (req.get_param_value("page") != "1") return res.set_content("{\"code\":250}", "application/json");
      std::string body = R"({"code":200,"msg":"success","newslist":[)";
      for (int i = 0; i < kArticles; ++i) {
        body += R"({"ctime":"2016-03-31","title":"标题 )" + std::to_string(i) +
                R"(","description":"d","picUrl":"http:\/\/127.0.0.1\/p.jpg","url":")" +
                Escaped(ArticleUrl(i)) + R"("},)";
      }
      body += "]}";
      res.set_content(body, "application/json");
    });
    server.server().Get(R"(/article/(\d+))", [](const httplib::Request& req, httplib::Response& res) {
      const std::string n = req.matches[1];
      res.set_content("<html><head><title>Article " + n + "</title></head><body>" + n + "</body></html>",
                      "text/html; charset=utf-8");
    });
    server.Start();
    // A fixed keyword, one page per extraction.
    ASSERT_TRUE(WriteFileBytes(dir.file("WeChat.ini"), "[WECHAT]\r\nword=ai\r\npage=1\r\n"));
  }

  std::string ArticleUrl(int i) const { return server.Url("/article/" + std::to_string(i) + "?mid=" + std::to_string(i)); }
  // The feed escapes the slashes of its URLs.
  static std::string Escaped(const std::string& url) {
    std::string out;
    for (char c : url) out += c == '/' ? std::string("\\/") : std::string(1, c);
    return out;
  }

  test::TempDir dir;
  test::LocalServer server;
  test::BoxRecorder boxes;
};

TEST_F(FeedEndToEndTest, FromStartToAPreviewedArticleAndBack) {
  // Article 5 is already a favourite.
  ASSERT_TRUE(WriteFileBytes(dir.file("MyLkie.ini"), Utf8ToGb18030("标题 5<-><+><->" + ArticleUrl(5))));
  Application app({QString::fromStdString(dir.path()), QSize(1366, 768), server.Url("/wxnew/")});
  app.Start();
  MainWindow& w = app.window();
  w.show();

  ASSERT_TRUE(test::WaitFor([&] { return w.list()->count() == kArticles && w.extractButton()->isEnabled(); }, 20000));
  EXPECT_EQ(w.list()->item(7)->text(), QStringLiteral("标题 7"));
  EXPECT_EQ(w.summary()->text(), QStringLiteral("关键词:ai 文章:20"));
  EXPECT_TRUE(w.list()->isVisible());
  EXPECT_TRUE(w.busyBand()->isHidden());

  // A random row is current and previewed in the real web view.
  const int row = app.controller().previewRow();
  ASSERT_GE(row, 0);
  ASSERT_LT(row, kArticles);
  EXPECT_EQ(w.list()->currentRow(), row);
  const auto title = [&](int i) { return QStringLiteral("Article %1").arg(i); };
  ASSERT_TRUE(test::WaitFor([&] { return w.webView()->documentTitle() == title(row); }, 20000));
  EXPECT_EQ(w.previewCaption()->text(), QStringLiteral("文章预览:标题 %1").arg(row));

  // Step to a neighbour and back.
  SuperButton* step = row + 1 < kArticles ? w.nextButton() : w.prevButton();
  SuperButton* back = row + 1 < kArticles ? w.prevButton() : w.nextButton();
  const int neighbour = row + 1 < kArticles ? row + 1 : row - 1;
  QTest::mouseClick(step, Qt::LeftButton);
  ASSERT_TRUE(test::WaitFor([&] { return w.webView()->documentTitle() == title(neighbour); }, 20000));
  QTest::mouseClick(back, Qt::LeftButton);
  ASSERT_TRUE(test::WaitFor([&] { return w.webView()->documentTitle() == title(row); }, 20000));

  // The add button follows MyLkie.ini: off on the favourite, on elsewhere.
  for (int target : {5, 6, 5}) {
    w.list()->setCurrentRow(target);
    app.controller().PreviewCurrentRow();
    ASSERT_TRUE(test::WaitFor([&] { return w.webView()->documentTitle() == title(target); }, 20000));
    const bool expected = target != 5;
    EXPECT_TRUE(test::WaitFor([&] { return w.addLikeButton()->isEnabled() == expected; }, 5000)) << target;
    test::RunEventsFor(100);
    EXPECT_EQ(w.addLikeButton()->isEnabled(), expected) << target;
  }

  EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(FeedEndToEndTest, ReadListButtonRunsAgainAndIgnoresClicksWhileBusy) {
  Application app({QString::fromStdString(dir.path()), QSize(1366, 768), server.Url("/wxnew/")});
  app.Start();
  MainWindow& w = app.window();
  w.show();
  // The first extraction is running or done; clicks while it runs start nothing.
  const size_t requestsAtStart = server.RequestCount();
  if (!w.extractButton()->isEnabled()) {
    app.controller().RequestExtraction();
    app.controller().RequestExtraction();
  }
  ASSERT_TRUE(test::WaitFor([&] { return w.list()->count() == kArticles && w.extractButton()->isEnabled(); }, 20000));
  const size_t feedRequests = server.RequestCount();
  EXPECT_LE(feedRequests, requestsAtStart + 2);

  QTest::mouseClick(w.extractButton(), Qt::LeftButton);
  EXPECT_FALSE(w.extractButton()->isEnabled());
  ASSERT_TRUE(test::WaitFor([&] { return w.extractButton()->isEnabled(); }, 20000));
  EXPECT_FALSE(w.extractButton()->isChecked());
  EXPECT_EQ(w.list()->count(), kArticles);
}

TEST_F(FeedEndToEndTest, ClosingDuringARunShowsNothingMore) {
  // A feed that answers only once the window has gone.
  std::atomic<bool> release{false};
  test::LocalServer slow;
  slow.server().Get("/wxnew/", [&](const httplib::Request&, httplib::Response& res) {
    for (int i = 0; i < 1000 && !release; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    res.set_content("{\"code\":250,\"msg\":\"nothing here\",\"padding\":\"" + std::string(200, '.') + "\"}",
                    "application/json");
  });
  slow.Start();
  {
    Application app({QString::fromStdString(dir.path()), QSize(1366, 768), slow.Url("/wxnew/")});
    app.Start();
    app.window().show();
    ASSERT_TRUE(test::WaitFor([&] { return slow.RequestCount() > 0; }));
    app.window().close();
  }
  release = true;
  test::RunEventsFor(500);  // time for the run to take its answer and give up
  EXPECT_TRUE(boxes.Boxes().empty());
}

}  // namespace
}  // namespace orv
