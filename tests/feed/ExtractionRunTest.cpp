#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "feed/ExtractionRun.h"
#include "platform/MessageBoxFlags.h"

namespace orv {
namespace {

// Records what a run does to the window, in order.
class RecordingView : public ExtractionView {
 public:
  std::vector<std::string> events;
  std::shared_ptr<const ArticleList> published;
  int previewed = -2;
  std::function<void()> onEnterBusy;

  void EnterBusy() override {
    events.push_back("busy");
    if (onEnterBusy) onEnterBusy();
  }
  void SetSummary(const std::string& text) override { events.push_back("summary:" + text); }
  int ShowMessage(const std::string& text, const std::string& title, int flags) override {
    events.push_back("box:" + title + ":" + text + ":" + std::to_string(flags));
    return kAnswerOk;
  }
  int PublishArticles(const std::function<bool()>& stillCurrent,
                      std::shared_ptr<const ArticleList> articles) override {
    if (!stillCurrent()) {
      events.push_back("publish refused");
      return -1;
    }
    published = articles;
    events.push_back("publish:" + std::to_string(articles->size()));
    return static_cast<int>(articles->size());
  }
  void PreviewRow(int row) override {
    previewed = row;
    events.push_back("preview");
  }
  void LeaveBusy() override { events.push_back("idle"); }
};

std::string Article(int i, const std::string& title) {
  return R"({"ctime":"2016-03-31","title":")" + title + R"(","description":"d","picUrl":"http://p/)" +
         std::to_string(i) + R"(.jpg","url":"http://a/s?mid=)" + std::to_string(i) + R"(&idx=1"},)";
}

// A feed answer of `count` articles titled T0, T1, ... (always over 100 bytes).
std::string Answer(int count, int code = 200, const std::vector<std::string>& titles = {}) {
  std::string a = R"({"code":)" + std::to_string(code) + R"(,"msg":"success","newslist":[)";
  for (int i = 0; i < count; ++i) a += Article(i, i < static_cast<int>(titles.size()) ? titles[i] : "T" + std::to_string(i));
  a += R"(]} padding padding padding padding padding padding padding padding padding)";
  return a;
}

// Extracts the value of `key` from a request URL's query.
std::string QueryValue(const std::string& url, const std::string& key) {
  size_t at = url.find("&" + key + "=");
  if (at == std::string::npos) return "<none>";
  at += key.size() + 2;
  return url.substr(at, url.find('&', at) - at);
}

class ExtractionRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    settings->Set({"50", "1", "", "1", "", "1", ""});
    context.settings = settings;
    context.keywords = keywords;
    context.view = view;
    context.slot = slot;
    context.seed = [] { return 42u; };
    context.client = std::make_shared<FeedClient>(
        "http://feed.test/wxnew/", [this](const std::string& url, const std::string& headers) {
          std::lock_guard lock(mutex);
          urls.push_back(url);
          EXPECT_EQ(headers, std::string("apikey:") + kFeedApiKey);
          return respond ? respond(url) : std::string();
        });
  }

  void Run() {
    const uint32_t token = slot->NewToken();
    slot->SetCurrent(token);
    RunExtraction(context, token);
  }

  void SetSettings(const std::string& word, const std::string& dedupe = "1", const std::string& page = "1",
                   const std::string& num = "50") {
    settings->Set({num, "1", word, page, "", dedupe, ""});
  }

  std::vector<std::string> Keywords() {
    std::vector<std::string> out;
    for (const auto& u : urls) out.push_back(QueryValue(u, "word"));
    return out;
  }

  std::shared_ptr<FeedSettings> settings = std::make_shared<FeedSettings>();
  std::shared_ptr<KeywordList> keywords = std::make_shared<KeywordList>();
  std::shared_ptr<RecordingView> view = std::make_shared<RecordingView>();
  std::shared_ptr<RunSlot> slot = std::make_shared<RunSlot>();
  ExtractionContext context;
  std::mutex mutex;
  std::vector<std::string> urls;
  std::function<std::string(const std::string&)> respond;
};

TEST_F(ExtractionRunTest, FixedKeywordMakesOneAttemptAndPublishes) {
  SetSettings("科技");
  respond = [](const std::string&) { return Answer(20); };
  Run();
  ASSERT_EQ(urls.size(), 1u);
  EXPECT_EQ(QueryValue(urls[0], "word"), "%E7%A7%91%E6%8A%80");
  EXPECT_EQ(view->events, (std::vector<std::string>{"busy", "publish:20", "preview", "summary:关键词:科技 文章:20", "idle"}));
  ASSERT_TRUE(view->published);
  EXPECT_EQ(view->published->at(3).title, "T3");
  EXPECT_GE(view->previewed, 0);
  EXPECT_LT(view->previewed, 20);
}

TEST_F(ExtractionRunTest, FixedKeywordThatBringsNothingShowsOnlyTheResultBox) {
  SetSettings("nothing");
  respond = [](const std::string&) { return Answer(0, 250); };
  Run();
  EXPECT_EQ(urls.size(), 1u);
  EXPECT_EQ(view->events, (std::vector<std::string>{"busy", "box:错误:未检索到相关信息:0", "publish:0",
                                                    "summary:关键词:nothing 文章:0", "idle"}));
}

TEST_F(ExtractionRunTest, DrawnKeywordThatSucceedsFirstTime) {
  keywords->Replace({"搞笑"});
  respond = [](const std::string&) { return Answer(5); };
  Run();
  EXPECT_EQ(Keywords(), (std::vector<std::string>{"%E6%90%9E%E7%AC%91"}));
  EXPECT_EQ(view->events.back(), "idle");
  EXPECT_EQ(view->events[view->events.size() - 2], "summary:关键词:搞笑 文章:5");
}

TEST_F(ExtractionRunTest, ThreeFailingDrawsThenTheFailureBox) {
  keywords->Replace({"a", "b", "c"});
  respond = [](const std::string&) { return std::string(); };  // the network fails
  Run();
  ASSERT_EQ(urls.size(), 3u);
  const std::string third = Keywords()[2];
  EXPECT_EQ(view->events,
            (std::vector<std::string>{"busy", "box:错误:unknown error:0", "box:错误:unknown error:0",
                                      "box:错误:unknown error:0", "summary:提取文章错误",
                                      std::string("box:提取:") + kFailureText + ":0", "publish:0",
                                      "summary:关键词:" + third + " 文章:0", "idle"}));
  EXPECT_EQ(std::string(kFailureText), "提取失败\r\n1.关键词检索无效\r\n2.ApiKey失效或被拒绝");
}

TEST_F(ExtractionRunTest, EmptyKeywordListDrawsTheFallback) {
  respond = [](const std::string&) { return std::string(); };
  Run();
  EXPECT_EQ(Keywords(), std::vector<std::string>(3, "%E6%9C%8B%E5%8F%8B%E5%9C%88"));
}

TEST_F(ExtractionRunTest, AKeywordTypedDuringTheDrawsIsNotReplacedByADraw) {
  keywords->Replace({"a"});
  respond = [this](const std::string&) {
    settings->SetWord("typed");
    return std::string();
  };
  Run();
  // The drawn keyword stays for the remaining attempts; the run started as a drawing run.
  EXPECT_EQ(Keywords(), (std::vector<std::string>{"a", "a", "a"}));
}

TEST_F(ExtractionRunTest, DedupeSettingConversions) {
  struct Case {
    const char* dedupe;
    size_t articles;
  };
  const Case cases[] = {{"1", 1}, {"0.0000002", 1}, {"0", 2}, {"0.0000001", 2}, {"", 2}, {"abc", 2}, {"１", 1}};
  respond = [](const std::string&) { return Answer(2, 200, {"same", "same"}); };
  for (const Case& c : cases) {
    view->events.clear();
    SetSettings("k", c.dedupe);
    Run();
    ASSERT_TRUE(view->published);
    EXPECT_EQ(view->published->size(), c.articles) << c.dedupe;
  }
}

TEST_F(ExtractionRunTest, NumbersFromSettingsAreTruncatedPerAttempt) {
  struct Case {
    const char* page;
    const char* num;
    size_t requests;
    const char* sentNum;
  };
  const Case cases[] = {{"0", "50", 1, "50"}, {"-2", "50", 1, "50"}, {"3", "12.9", 3, "12"}, {"2.7", "-5", 2, "10"}};
  respond = [](const std::string&) { return Answer(1); };
  for (const Case& c : cases) {
    urls.clear();
    SetSettings("k", "1", c.page, c.num);
    Run();
    ASSERT_EQ(urls.size(), c.requests) << c.page;
    EXPECT_EQ(QueryValue(urls[0], "page"), "1");
    EXPECT_EQ(QueryValue(urls.back(), "page"), std::to_string(c.requests));
    EXPECT_EQ(QueryValue(urls[0], "num"), c.sentNum);
  }
}

TEST_F(ExtractionRunTest, ARunThatIsNoLongerCurrentLeavesTheWindowAlone) {
  SetSettings("k");
  // The window goes away while the run waits on the network.
  respond = [this](const std::string&) {
    slot->Clear();
    return Answer(0, 250);
  };
  Run();
  EXPECT_EQ(view->events, (std::vector<std::string>{"busy"}));
  EXPECT_FALSE(view->published);
}

TEST_F(ExtractionRunTest, PublicationIsRefusedWhenTheSlotChangesAtTheLastMoment) {
  SetSettings("k");
  respond = [](const std::string&) { return Answer(3); };
  // A view that sees the window going away exactly while it publishes.
  class LateView : public RecordingView {
   public:
    std::shared_ptr<RunSlot> slot;
    int PublishArticles(const std::function<bool()>& stillCurrent,
                        std::shared_ptr<const ArticleList> articles) override {
      slot->Clear();
      return RecordingView::PublishArticles(stillCurrent, std::move(articles));
    }
  };
  auto late = std::make_shared<LateView>();
  late->slot = slot;
  context.view = late;
  Run();
  EXPECT_EQ(late->events, (std::vector<std::string>{"busy", "publish refused"}));
}

TEST_F(ExtractionRunTest, HostileAnswersNeverStopTheRun) {
  std::string binary;
  for (int i = 0; i < 5000; ++i) binary += static_cast<char>((i * 7919) & 0xFF);
  const std::string three = Answer(3);
  const std::string truncated = three.substr(0, three.find("T2") + 1);
  std::string noCode = Answer(2);
  noCode.replace(noCode.find("\"code\":200"), 10, "\"msg0\":99");
  std::string badCode = Answer(2);
  badCode.replace(badCode.find("200"), 3, "abc");
  struct Case {
    const char* name;
    std::string answer;
    size_t articles;
    bool unknownErrorBox;
  };
  const Case cases[] = {
      {"empty", "", 0, true},
      {"binary", binary, 0, true},
      {"truncated mid-article", truncated, 2, false},
      {"full of percent signs", Answer(2) + std::string(1 << 20, '%'), 2, false},
      {"code missing", noCode, 2, true},
      {"code not a number", badCode, 2, true},
      {"markup and control characters", Answer(1, 200, {"<b>x</b>\t\x01"}), 1, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    view->events.clear();
    view->published.reset();
    SetSettings("k");
    respond = [&](const std::string&) { return c.answer; };
    Run();
    ASSERT_TRUE(view->published);
    EXPECT_EQ(view->published->size(), c.articles);
    const bool box = std::find(view->events.begin(), view->events.end(), "box:错误:unknown error:0") != view->events.end();
    EXPECT_EQ(box, c.unknownErrorBox);
    EXPECT_EQ(view->events.back(), "idle");
  }
}

TEST(RunSlot, TokensAreUniqueAndNeverZero) {
  RunSlot slot;
  uint32_t a = slot.NewToken(), b = slot.NewToken();
  EXPECT_NE(a, 0u);
  EXPECT_NE(a, b);
  slot.SetCurrent(b);
  EXPECT_TRUE(slot.IsCurrent(b));
  EXPECT_FALSE(slot.IsCurrent(a));
  slot.Clear();
  EXPECT_FALSE(slot.IsCurrent(b));
  EXPECT_FALSE(slot.IsCurrent(0));
}

TEST(ExtractionThread, RunsOnItsOwnThreadAndOutlivesItsStarter) {
  std::atomic<bool> done{false};
  ExtractionContext context;
  context.settings = std::make_shared<FeedSettings>();
  context.keywords = std::make_shared<KeywordList>();
  context.slot = std::make_shared<RunSlot>();
  context.client = std::make_shared<FeedClient>("http://feed.test/wxnew/", [&](const std::string&, const std::string&) {
    return Answer(2);
  });
  class DoneView : public RecordingView {
   public:
    std::atomic<bool>* done;
    void LeaveBusy() override {
      RecordingView::LeaveBusy();
      *done = true;
    }
  };
  auto doneView = std::make_shared<DoneView>();
  doneView->done = &done;
  context.view = doneView;
  StartExtractionThread(context);
  context = {};  // the starter lets go; the thread holds its own copy
  for (int i = 0; i < 1000 && !done; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_TRUE(done);
}

}  // namespace
}  // namespace orv
