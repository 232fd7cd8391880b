#include <gtest/gtest.h>

#include <QApplication>
#include <QSignalSpy>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

#include "platform/Files.h"
#include "platform/toolkit/Shell.h"
#include "support/QtWait.h"
#include "support/LocalServer.h"
#include "support/TempDir.h"
#include "ui/main/AboutWindow.h"
#include "ui/main/MainController.h"
#include "ui/main/MainWindow.h"

namespace orv {
namespace {

class MainControllerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    server.server().Get(R"(/article/(\d+))", [](const httplib::Request& req, httplib::Response& res) {
      const std::string n = req.matches[1];
      res.set_content("<html><head><title>Article " + n + "</title></head><body>" + n + "</body></html>",
                      "text/html; charset=utf-8");
    });
    server.Start();
    shared.articles = std::make_shared<ArticleStore>();
    shared.favorites = std::make_shared<FavoritesStore>(dir.file("MyLkie.ini"));
    shared.settings = std::make_shared<FeedSettings>();
    shared.keywords = std::make_shared<KeywordList>();
    shared.client = std::make_shared<FeedClient>();
    shared.runs = std::make_shared<RunSlot>();
    controller = new MainController(window, shared, QString::fromStdString(dir.path()));
    window.resize(971, 625);
    window.layoutControls();
    window.show();
  }

  std::string Url(int i) const { return server.Url("/article/" + std::to_string(i)); }

  // Publishes `count` articles as a current run does.
  void Publish(int count) {
    auto list = std::make_shared<ArticleList>();
    for (int i = 0; i < count; ++i) list->push_back({"2016-1-1", "Title " + std::to_string(i), "", "", Url(i), ""});
    ASSERT_EQ(controller->extractionView()->PublishArticles([] { return true; }, list), count);
  }

  bool WaitForTitle(const QString& title) {
    return test::WaitFor([&] { return window.webView()->documentTitle() == title; }, 15000);
  }

  test::TempDir dir;
  test::LocalServer server;
  MainWindow window;
  MainController::Shared shared;
  MainController* controller = nullptr;
};

TEST_F(MainControllerTest, PublicationRefillsTheListInOrder) {
  Publish(3);
  EXPECT_EQ(window.list()->count(), 3);
  EXPECT_EQ(window.list()->item(2)->text(), QStringLiteral("Title 2"));
  EXPECT_EQ(controller->previewRow(), -1);
  EXPECT_EQ(shared.articles->Snapshot()->size(), 3u);
  // A run that is no longer current changes nothing.
  auto other = std::make_shared<ArticleList>(1);
  EXPECT_EQ(controller->extractionView()->PublishArticles([] { return false; }, other), -1);
  EXPECT_EQ(window.list()->count(), 3);
}

TEST_F(MainControllerTest, PreviewShowsTheRowsArticle) {
  Publish(3);
  controller->extractionView()->PreviewRow(1);
  EXPECT_EQ(controller->previewRow(), 1);
  EXPECT_EQ(window.list()->currentRow(), 1);
  EXPECT_EQ(window.previewCaption()->text(), QStringLiteral("文章预览:Title 1"));
  EXPECT_FALSE(window.addLikeButton()->isEnabled());
  EXPECT_TRUE(window.webView()->isVisible());
  ASSERT_TRUE(WaitForTitle(QStringLiteral("Article 1")));
  EXPECT_EQ(window.webView()->address().toStdString(), Url(1));
  // Loaded and not a favourite: it can be added.
  EXPECT_TRUE(test::WaitFor([&] { return window.addLikeButton()->isEnabled(); }, 5000));
}

TEST_F(MainControllerTest, PreviousAndNextStopAtTheEnds) {
  // Next at start, before any list exists: no row, nothing previewed.
  QTest::mouseClick(window.nextButton(), Qt::LeftButton);
  EXPECT_EQ(controller->previewRow(), -1);
  EXPECT_FALSE(window.addLikeButton()->isEnabled());
  QTest::mouseClick(window.prevButton(), Qt::LeftButton);
  EXPECT_EQ(controller->previewRow(), -1);

  Publish(3);
  controller->extractionView()->PreviewRow(0);
  QTest::mouseClick(window.prevButton(), Qt::LeftButton);
  EXPECT_EQ(controller->previewRow(), 0);
  QTest::mouseClick(window.nextButton(), Qt::LeftButton);
  QTest::mouseClick(window.nextButton(), Qt::LeftButton);
  EXPECT_EQ(controller->previewRow(), 2);
  EXPECT_EQ(window.previewCaption()->text(), QStringLiteral("文章预览:Title 2"));
  QTest::mouseClick(window.nextButton(), Qt::LeftButton);  // no wrap-around
  EXPECT_EQ(controller->previewRow(), 2);
  QTest::mouseClick(window.prevButton(), Qt::LeftButton);
  EXPECT_EQ(controller->previewRow(), 1);
  ASSERT_TRUE(WaitForTitle(QStringLiteral("Article 1")));
}

TEST_F(MainControllerTest, DoubleClickPreviewsTheClickedRow) {
  Publish(4);
  QListWidget* list = window.list();
  const QRect rect = list->visualItemRect(list->item(3));
  // A real double click starts with a press that makes the row current.
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
  EXPECT_EQ(controller->previewRow(), 3);
  EXPECT_EQ(window.previewCaption()->text(), QStringLiteral("文章预览:Title 3"));
}

TEST_F(MainControllerTest, CloseMovesTheViewOffTheArticle) {
  // Nothing was ever loaded: closing does nothing.
  window.previewCaption()->setText(QStringLiteral("文章预览:x"));
  QTest::mouseClick(window.closeButton(), Qt::LeftButton);
  EXPECT_EQ(window.previewCaption()->text(), QStringLiteral("文章预览:x"));

  Publish(2);
  controller->extractionView()->PreviewRow(1);
  QTest::mouseClick(window.closeButton(), Qt::LeftButton);
  EXPECT_EQ(window.previewCaption()->text(), QStringLiteral("文章预览:"));
  EXPECT_FALSE(window.webView()->isVisible());
  EXPECT_EQ(window.webView()->address(), QUrl::fromLocalFile(QString::fromStdString(dir.path())).toString());
  EXPECT_EQ(controller->previewRow(), 1);
  EXPECT_EQ(window.list()->currentRow(), 1);
}

TEST_F(MainControllerTest, LongCaptionsAreShortenedAtWholeCharacters) {
  struct Case {
    QString caption;
    QString expected;
  };
  const QString prefix = QStringLiteral("文章预览:");  // 9 bytes
  const Case cases[] = {
      {prefix + QString(61, 'a'), prefix + QString(61, 'a')},                  // exactly 70 bytes stays
      {prefix + QString(62, 'a'), prefix + QString(57, 'a') + "...."},         // 71 becomes 66 + "...."
      {prefix + QString(40, QChar(0x4E2D)), prefix + QString(28, QChar(0x4E2D)) + "...."},  // 66 would halve a character
  };
  for (const Case& c : cases) {
    window.previewCaption()->setText(c.caption);
    QSignalSpy ticks(window.captionTimer(), &QTimer::timeout);
    ASSERT_TRUE(test::WaitFor([&] { return ticks.count() >= 2; }));
    EXPECT_EQ(window.previewCaption()->text(), c.expected);
  }
}

TEST_F(MainControllerTest, AddButtonFollowsTheFavourites) {
  ASSERT_TRUE(WriteFileBytes(dir.file("MyLkie.ini"), "fav<-><+><->" + Url(0)));
  shared.favorites->LoadFavorites();
  Publish(2);
  controller->extractionView()->PreviewRow(0);
  ASSERT_TRUE(WaitForTitle(QStringLiteral("Article 0")));
  test::RunEventsFor(100);
  EXPECT_FALSE(window.addLikeButton()->isEnabled());
  QTest::mouseClick(window.nextButton(), Qt::LeftButton);
  ASSERT_TRUE(WaitForTitle(QStringLiteral("Article 1")));
  EXPECT_TRUE(test::WaitFor([&] { return window.addLikeButton()->isEnabled(); }, 5000));
}

TEST_F(MainControllerTest, ToolbarWindowsToggleAndOpenOnce) {
  int created = 0;
  QPointer<QWidget> favorites;
  controller->seams().createFavoritesWindow = [&](QWidget* owner) {
    ++created;
    favorites = new QWidget(owner, Qt::Window);
    return favorites.data();
  };
  QTest::mouseClick(window.likeButton(), Qt::LeftButton);
  EXPECT_TRUE(favorites->isVisible());
  EXPECT_TRUE(window.likeButton()->isChecked());
  QTest::mouseClick(window.likeButton(), Qt::LeftButton);
  EXPECT_EQ(created, 1);
  EXPECT_FALSE(favorites->isVisible());
  EXPECT_FALSE(window.likeButton()->isChecked());

  // A window that does not exist yet: the button does not stay pressed.
  QTest::mouseClick(window.downloadButton(), Qt::LeftButton);
  EXPECT_FALSE(window.downloadButton()->isChecked());
}

TEST_F(MainControllerTest, SettingsWindowRunsWithTheListAndPreviewPutAway) {
  bool listHidden = false, bandShown = false, viewHidden = false;
  controller->seams().runSettingsWindow = [&](QWidget* owner) {
    EXPECT_EQ(owner, &window);
    listHidden = window.list()->isHidden();
    bandShown = window.busyBand()->isVisible();
    viewHidden = window.webView()->isHidden();
  };
  Publish(1);
  controller->extractionView()->PreviewRow(0);
  QTest::mouseClick(window.configButton(), Qt::LeftButton);
  EXPECT_TRUE(listHidden);
  EXPECT_TRUE(bandShown);
  EXPECT_TRUE(viewHidden);
  EXPECT_FALSE(window.configButton()->isChecked());
  EXPECT_TRUE(window.busyBand()->isHidden());
  EXPECT_TRUE(window.list()->isVisible());
  EXPECT_TRUE(window.webView()->isVisible());  // it has an address

  // After a close the address is the run directory, so the view comes back too.
  QTest::mouseClick(window.closeButton(), Qt::LeftButton);
  QTest::mouseClick(window.configButton(), Qt::LeftButton);
  EXPECT_TRUE(window.webView()->isVisible());
}

TEST_F(MainControllerTest, SettingsWindowLeavesAnEmptyPreviewHidden) {
  QTest::mouseClick(window.configButton(), Qt::LeftButton);
  EXPECT_TRUE(window.webView()->isHidden());
  EXPECT_TRUE(window.list()->isVisible());
}

TEST_F(MainControllerTest, BrowserButtonOpensTheCurrentAddress) {
  std::vector<QUrl> opened;
  SetShellOpener([&](const QUrl& url) {
    opened.push_back(url);
    return true;
  });
  Publish(1);
  controller->extractionView()->PreviewRow(0);
  QTest::mouseClick(window.browserButton(), Qt::LeftButton);
  SetShellOpener({});
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0].toString().toStdString(), Url(0));
}

TEST_F(MainControllerTest, IconOpensOneAboutWindow) {
  QTest::mouseClick(window.mailIcon(), Qt::LeftButton);
  QWidget* about = controller->aboutWindow();
  ASSERT_NE(about, nullptr);
  EXPECT_TRUE(about->isVisible());
  EXPECT_EQ(about->parentWidget(), &window);
  QTest::mouseClick(window.mailIcon(), Qt::LeftButton);
  EXPECT_EQ(controller->aboutWindow(), about);
}

TEST_F(MainControllerTest, BusyAndIdleStates) {
  auto view = controller->extractionView();
  view->EnterBusy();
  EXPECT_FALSE(window.extractButton()->isEnabled());
  EXPECT_TRUE(window.list()->isHidden());
  EXPECT_TRUE(window.busyBand()->isVisible());
  EXPECT_TRUE(window.webView()->isHidden());
  EXPECT_EQ(controller->previewRow(), 0);
  EXPECT_EQ(window.previewCaption()->text(), QStringLiteral("文章预览:"));
  EXPECT_EQ(window.summary()->text(), QStringLiteral("提取文章中...."));
  // A click while busy starts nothing.
  controller->RequestExtraction();
  EXPECT_EQ(shared.runs->Current(), 0u);
  window.extractButton()->setChecked(true);
  view->LeaveBusy();
  EXPECT_TRUE(window.extractButton()->isEnabled());
  EXPECT_FALSE(window.extractButton()->isChecked());
  EXPECT_TRUE(window.list()->isVisible());
  EXPECT_TRUE(window.busyBand()->isHidden());
  EXPECT_TRUE(window.webView()->isVisible());
}

TEST_F(MainControllerTest, TitlesWithMarkupAreShownAsText) {
  auto list = std::make_shared<ArticleList>();
  list->push_back({"2016-1-1", "<b>bold</b> &amp;", "", "", Url(0), ""});
  controller->extractionView()->PublishArticles([] { return true; }, list);
  controller->extractionView()->PreviewRow(0);
  EXPECT_EQ(window.list()->item(0)->text(), QStringLiteral("<b>bold</b> &amp;"));
  EXPECT_EQ(window.previewCaption()->text(), QStringLiteral("文章预览:<b>bold</b> &amp;"));
  EXPECT_EQ(window.previewCaption()->textFormat(), Qt::PlainText);
}

}  // namespace
}  // namespace orv
