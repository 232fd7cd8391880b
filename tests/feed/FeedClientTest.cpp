#include "feed/FeedClient.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Text.h"
#include "support/LocalServer.h"

namespace orv {
namespace {

using test::LocalServer;

const std::string kKey = kFeedApiKey;
const std::string kTarget = "/wxnew/?key=" + kKey;
// The shortest answer that still counts as a page; 'x' is no hex digit, so a
// "%" before it is never an escape.
const std::string kFill(100, 'x');

// A feed host on 127.0.0.1 answering page p (the "page" query value) with
// body(p).
class FeedServer {
 public:
  explicit FeedServer(std::function<std::string(int)> body) : body_(std::move(body)) {
    local_.server().Get("/wxnew/", [this](const httplib::Request& req, httplib::Response& res) {
      res.set_content(body_(std::atoi(req.get_param_value("page").c_str())), "application/json");
    });
    local_.Start();
  }
  // Page p answered with pages[p - 1]; pages past the end are empty.
  explicit FeedServer(std::vector<std::string> pages)
      : FeedServer([pages = std::move(pages)](int p) {
          return p >= 1 && static_cast<std::size_t>(p) <= pages.size() ? pages[p - 1] : std::string();
        }) {}

  FeedClient Client() const { return FeedClient(local_.Url("/wxnew/")); }
  std::vector<test::RecordedRequest> Requests() const { return local_.Requests(); }

 private:
  std::function<std::string(int)> body_;
  LocalServer local_;
};

TEST(BuildFeedUrl, KeysInFixedOrderAndOnlyWhenSet) {
  struct Case {
    int32_t num, rand;
    const char* keyword;
    int32_t page;
    const char* source;
    std::string query;
  };
  const Case cases[] = {
      {50, 1, "朋友圈", 2, "", "&num=50&rand=1&word=%E6%9C%8B%E5%8F%8B%E5%9C%88&page=2"},
      {0, 0, "", 0, "", "&num=0"},
      // Only FetchFeed replaces unusable values; the URL carries what it is given.
      {-7, -1, "", -2, "", "&num=-7&rand=-1&page=-2"},
      {INT32_MIN, INT32_MAX, "", 1, "", "&num=-2147483648&rand=2147483647&page=1"},
      {20, 0, "", 0, "人民日报", "&num=20&src=%E4%BA%BA%E6%B0%91%E6%97%A5%E6%8A%A5"},
      {20, 3, "春节", 1, "a.b", "&num=20&rand=3&word=%E6%98%A5%E8%8A%82&page=1&src=a%2Eb"},
  };
  const FeedClient client;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.query);
    EXPECT_EQ(client.BuildFeedUrl(c.num, c.rand, c.keyword, c.page, c.source),
              "http://" + std::string(kFeedApiHost) + "/wxnew/?key=" + kKey + c.query);
  }
}

TEST(FetchFeed, RequestsCarryTheQueryAndTheApiKeyHeader) {
  struct Case {
    const char* name;
    int32_t num, rand;
    const char* keyword;
    int32_t pageCount;
    const char* source;
    std::vector<std::string> queries;  // one per request, in order
  };
  const Case cases[] = {
      {"page count 0 asks one page", 10, 0, "", 0, "", {"&num=10&page=1"}},
      {"negative page count asks one page", 10, 0, "", -3, "", {"&num=10&page=1"}},
      {"negative num becomes 10", -5, 0, "", 1, "", {"&num=10&page=1"}},
      {"num 0 stays", 0, 0, "", 1, "", {"&num=0&page=1"}},
      {"negative rand is sent", 20, -1, "", 1, "", {"&num=20&rand=-1&page=1"}},
      {"blank in keyword", 20, 1, "a b", 1, "", {"&num=20&rand=1&word=a%20b&page=1"}},
      {"hyphen in keyword", 20, 0, "x-y", 1, "", {"&num=20&word=x%2Dy&page=1"}},
      {"every page numbered",
       50,
       1,
       "朋友圈",
       2,
       "",
       {"&num=50&rand=1&word=%E6%9C%8B%E5%8F%8B%E5%9C%88&page=1",
        "&num=50&rand=1&word=%E6%9C%8B%E5%8F%8B%E5%9C%88&page=2"}},
      {"source last", 20, 0, "", 1, "人民日报", {"&num=20&page=1&src=%E4%BA%BA%E6%B0%91%E6%97%A5%E6%8A%A5"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FeedServer server([](int) { return kFill; });
    server.Client().FetchFeed(c.num, c.rand, c.keyword, c.pageCount, c.source);
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), c.queries.size());
    for (std::size_t i = 0; i < requests.size(); ++i) {
      EXPECT_EQ(requests[i].method, "GET");
      EXPECT_EQ(requests[i].target, kTarget + c.queries[i]);
      ASSERT_EQ(requests[i].headers.count("apikey"), 1u);
      EXPECT_EQ(requests[i].headers.find("apikey")->second, kKey);
    }
  }
}

TEST(FetchFeed, HeaderLineHasNoBlankAfterTheColon) {
  std::vector<std::pair<std::string, std::string>> calls;
  const FeedClient client("http://feed.test/wxnew/", [&](const std::string& url, const std::string& headers) {
    calls.emplace_back(url, headers);
    return std::string();
  });
  EXPECT_EQ(client.FetchFeed(10, 0, "", 1, ""), "");
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].first, "http://feed.test/wxnew/?key=" + kKey + "&num=10&page=1");
  EXPECT_EQ(calls[0].second, "apikey:" + kKey);
}

TEST(FetchFeed, FirstShortAnswerEndsTheLoopAndIsDropped) {
  const std::string a(100, 'a'), b(150, 'b'), c(100, 'c');
  struct Case {
    const char* name;
    std::vector<std::string> pages;
    int32_t pageCount;
    std::string result;
    std::size_t requests;
  };
  const Case cases[] = {
      {"99 bytes on page 1", {std::string(99, 'a'), b}, 3, "", 1},
      {"100 bytes is a page", {a, std::string(99, 'b')}, 3, a, 2},
      {"no more than the page count", {a, b, c}, 2, a + b, 2},
      {"short third of five", {a, b, std::string(99, 'c'), a, b}, 5, a + b, 3},
      {"empty answer", {a, ""}, 3, a, 2},
      {"largest page count", {a}, INT32_MAX, a, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FeedServer server(c.pages);
    EXPECT_EQ(server.Client().FetchFeed(10, 0, "", c.pageCount, ""), c.result);
    EXPECT_EQ(server.Requests().size(), c.requests);
  }
}

TEST(FetchFeed, JoinedAnswerIsDecodedThenUnescaped) {
  const std::string& f = kFill;
  struct Case {
    const char* name;
    std::vector<std::string> pages;
    std::string result;
  };
  const Case cases[] = {
      {"escaped slash", {f + "a%2Fb"}, f + "a/b"},
      {"UTF-8 bytes", {f + "%E6%9C%8B%E5%8F%8B%E5%9C%88"}, f + "朋友圈"},
      {"percent last", {f + "%"}, f},
      {"percent second to last", {f + "%4"}, f},
      {"percent third to last", {f + "%41"}, f + "A"},
      {"escape split across pages", {f + "%4", "1" + f}, f + "A" + f},
      {"percent ending a middle page", {f + "%", f}, f + "%" + f},
      {"JSON slashes", {f + R"(a\/b\/c)"}, f + "a/b/c"},
      {"lone backslashes stay", {f + R"(a\b\"c\u6625\)"}, f + R"(a\b\"c\u6625\)"},
      {"escaped backslash before slash", {f + R"(a\\/b)"}, f + R"(a\/b)"},
      {"decoded before unescaped", {f + "%5C%2F"}, f + "/"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FeedServer server(c.pages);
    EXPECT_EQ(server.Client().FetchFeed(10, 0, "", static_cast<int32_t>(c.pages.size()), ""), c.result);
  }
}

TEST(FetchFeed, InvalidUtf8AfterDecodingIsRepaired) {
  // A lone lead byte, a stray continuation byte, an overlong "/" and a cut
  // three-byte character.
  for (const char* bad : {"%E6", "%80", "%C0%AF", "%E6%9C"}) {
    SCOPED_TRACE(bad);
    FeedServer server(std::vector<std::string>{kFill + "<" + bad + ">"});
    const std::string text = server.Client().FetchFeed(10, 0, "", 1, "");
    EXPECT_TRUE(IsValidUtf8(text));
    EXPECT_EQ(text.rfind(kFill + "<", 0), 0u);
    EXPECT_EQ(text.back(), '>');
    EXPECT_NE(text.find("\xEF\xBF\xBD"), std::string::npos);
    EXPECT_EQ(text.find('/'), std::string::npos);
  }
}

TEST(FetchFeed, UnreachableHostGivesEmptyText) {
  const FeedClient client("http://127.0.0.1:" + std::to_string(test::UnusedLocalPort()) + "/wxnew/");
  EXPECT_EQ(client.FetchFeed(10, 0, "", 3, ""), "");
}

}  // namespace
}  // namespace orv
