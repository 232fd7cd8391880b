#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <QWebEngineSettings>

#include <atomic>
#include <thread>

#include "platform/toolkit/MessageBox.h"
#include "platform/toolkit/Shell.h"
#include "platform/toolkit/WebView.h"
#include "platform/toolkit/WindowThread.h"
#include "support/QtWait.h"
#include "support/LocalServer.h"

namespace orv {
namespace {

TEST(WindowThreadCalls, RunDirectlyOnTheWindowThread) {
  ASSERT_TRUE(WindowThread::IsWindowThread());
  int calls = 0;
  // No event processing happens here: a queued call would never run.
  EXPECT_TRUE(WindowThread::Run([&] { ++calls; }));
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(WindowThread::Call([] { return 7; }), 7);
}

TEST(WindowThreadCalls, WorkerCallsRunOnTheWindowThreadInOrder) {
  std::vector<int> order;
  std::atomic<bool> wrongThread{false};
  QThread* window = QThread::currentThread();
  std::thread worker([&] {
    EXPECT_FALSE(WindowThread::IsWindowThread());
    for (int i = 0; i < 50; ++i) {
      WindowThread::Run([&, i] {
        if (QThread::currentThread() != window) wrongThread = true;
        order.push_back(i);
      });
    }
  });
  EXPECT_TRUE(test::WaitFor([&] { return order.size() == 50; }, 10000));
  worker.join();
  EXPECT_FALSE(wrongThread);
  ASSERT_EQ(order.size(), 50u);
  for (int i = 0; i < 50; ++i) EXPECT_EQ(order[i], i);
}

TEST(WindowThreadCalls, DetachReleasesBlockedWorkersAndNothingRunsLater) {
  std::atomic<bool> returned{false};
  std::atomic<bool> ran{false};
  bool result = true;
  std::thread worker([&] {
    result = WindowThread::Run([&] { ran = true; });
    returned = true;
  });
  // The window thread does not process events, as after its loop has ended.
  while (!returned) {
    QThread::msleep(20);
    WindowThread::Detach();
  }
  worker.join();
  EXPECT_FALSE(result);
  QCoreApplication::processEvents();
  EXPECT_FALSE(ran);
  // Calls made after the window side is gone return at once.
  std::thread late([&] { EXPECT_FALSE(WindowThread::Run([&] { ran = true; })); });
  late.join();
  WindowThread::Attach();  // for the tests that follow
}

TEST(MessageBoxes, AnswererReceivesEveryRequest) {
  std::vector<MessageBoxRequest> seen;
  SetMessageBoxAnswerer([&](const MessageBoxRequest& r) {
    seen.push_back(r);
    return r.flags == kBoxYesNoQuestion ? kAnswerYes : kAnswerOk;
  });
  EXPECT_EQ(ShowMessageBox("未检索到相关信息", "错误", nullptr, kBoxOk), kAnswerOk);
  EXPECT_EQ(ShowMessageBox("q", "t", nullptr, kBoxYesNoQuestion), kAnswerYes);
  SetMessageBoxAnswerer({});
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].text, "未检索到相关信息");
  EXPECT_EQ(seen[0].title, "错误");
  EXPECT_EQ(seen[1].flags, kBoxYesNoQuestion);
}

QMessageBox* OpenBox() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) return box;
  return nullptr;
}

TEST(MessageBoxes, RealBoxFromAWorkerWaitsForTheUser) {
  struct Case {
    int flags;
    QMessageBox::StandardButton press;
    int answer;
    QMessageBox::Icon icon;
  };
  const Case cases[] = {
      {kBoxOk, QMessageBox::Ok, kAnswerOk, QMessageBox::NoIcon},
      {kBoxOkError, QMessageBox::Ok, kAnswerOk, QMessageBox::Critical},
      {kBoxOkCancelQuestion, QMessageBox::Cancel, kAnswerCancel, QMessageBox::Question},
      {kBoxOkCancelQuestion, QMessageBox::Ok, kAnswerOk, QMessageBox::Question},
      {kBoxYesNoQuestion, QMessageBox::Yes, kAnswerYes, QMessageBox::Question},
      {kBoxYesNoQuestion, QMessageBox::No, kAnswerNo, QMessageBox::Question},
  };
  for (const Case& c : cases) {
    std::atomic<int> answer{-1};
    std::thread worker([&] { answer = ShowMessageBox("提取失败\r\n1.关键词检索无效", "提取", nullptr, c.flags); });
    QMessageBox* box = nullptr;
    ASSERT_TRUE(test::WaitFor([&] { return (box = OpenBox()) != nullptr; }, 5000));
    EXPECT_EQ(box->windowTitle(), QStringLiteral("提取"));
    EXPECT_EQ(box->text(), QStringLiteral("提取失败\r\n1.关键词检索无效"));
    EXPECT_EQ(box->icon(), c.icon);
    EXPECT_EQ(answer, -1);  // still waiting for the user
    box->button(c.press)->click();
    ASSERT_TRUE(test::WaitFor([&] { return answer != -1; }, 5000));
    worker.join();
    EXPECT_EQ(answer, c.answer) << c.flags;
    QCoreApplication::processEvents();
  }
}

TEST(MessageBoxes, BoxWhoseOwnerIsDestroyedReleasesTheWorker) {
  auto* owner = new QWidget;
  owner->show();
  std::atomic<int> answer{-1};
  std::thread worker([&] { answer = ShowMessageBox("q", "t", owner, kBoxYesNoQuestion); });
  ASSERT_TRUE(test::WaitFor([&] { return owner->findChild<QMessageBox*>() != nullptr; }, 5000));
  delete owner;
  ASSERT_TRUE(test::WaitFor([&] { return answer != -1; }, 5000));
  worker.join();
  EXPECT_EQ(answer, kAnswerNo);
}

class WebViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    server.server().Get("/a", [](const httplib::Request&, httplib::Response& res) {
      res.set_content("<html><head><title>Page A</title></head><body>"
                      "<a id='l' href='/b'>b</a></body></html>",
                      "text/html");
    });
    server.server().Get("/b", [](const httplib::Request&, httplib::Response& res) {
      res.set_content("<html><head><title>Page B</title></head><body>B</body></html>", "text/html");
    });
    server.Start();
  }
  test::LocalServer server;
};

TEST_F(WebViewTest, NavigationAndLoadEvents) {
  WebView view;
  view.resize(400, 300);
  view.show();
  EXPECT_EQ(view.address(), QString());  // nothing loaded yet
  QSignalSpy navigating(&view, &WebView::aboutToNavigate);
  QSignalSpy loaded(&view, &WebView::loadCompleted);
  view.setAddress(QString::fromStdString(server.Url("/a")));
  ASSERT_TRUE(test::WaitFor([&] { return loaded.count() > 0; }, 15000));
  EXPECT_TRUE(loaded.first().at(0).toBool());
  ASSERT_GE(navigating.count(), 1);
  EXPECT_EQ(navigating.first().at(0).toUrl().toString(), QString::fromStdString(server.Url("/a")));
  EXPECT_EQ(view.address(), QString::fromStdString(server.Url("/a")));
  EXPECT_EQ(view.documentTitle(), QStringLiteral("Page A"));
}

TEST_F(WebViewTest, NewWindowRequestOpensInTheSameView) {
  WebView view;
  view.page()->settings()->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, true);
  view.resize(400, 300);
  view.show();
  QSignalSpy loaded(&view, &WebView::loadCompleted);
  QSignalSpy newWindow(&view, &WebView::newWindowRequested);
  view.setAddress(QString::fromStdString(server.Url("/a")));
  ASSERT_TRUE(test::WaitFor([&] { return loaded.count() > 0; }, 15000));
  const int windowsBefore = QApplication::topLevelWidgets().size();
  view.page()->runJavaScript(QStringLiteral("window.open('/b', '_blank');"));
  ASSERT_TRUE(test::WaitFor([&] { return newWindow.count() > 0; }, 15000));
  EXPECT_EQ(newWindow.first().at(0).toUrl().toString(), QString::fromStdString(server.Url("/b")));
  ASSERT_TRUE(test::WaitFor([&] { return view.documentTitle() == QStringLiteral("Page B"); }, 15000));
  EXPECT_EQ(view.address(), QString::fromStdString(server.Url("/b")));
  EXPECT_EQ(QApplication::topLevelWidgets().size(), windowsBefore);
}

TEST(Shell, OpenerCanBeReplacedAndPathsBecomeFileUrls) {
  std::vector<QUrl> opened;
  SetShellOpener([&](const QUrl& url) {
    opened.push_back(url);
    return true;
  });
  EXPECT_TRUE(OpenInShell(QStringLiteral("http://example.invalid/x?a=1")));
  EXPECT_TRUE(OpenInShell(QStringLiteral("/tmp/folder")));
  EXPECT_FALSE(OpenInShell(QString()));
  SetShellOpener({});
  ASSERT_EQ(opened.size(), 2u);
  EXPECT_EQ(opened[0].toString(), QStringLiteral("http://example.invalid/x?a=1"));
  EXPECT_EQ(opened[1], QUrl::fromLocalFile(QStringLiteral("/tmp/folder")));
  EXPECT_FALSE(RunDirectory().endsWith('/'));
  EXPECT_GT(ScreenSize().width(), 0);
}

}  // namespace
}  // namespace orv
