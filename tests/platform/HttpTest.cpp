#include "platform/Http.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "support/LocalServer.h"
#include "support/TempDir.h"

namespace orv {
namespace {

using namespace std::string_literals;
using std::chrono::milliseconds;

// "Hello, compressed world! " four times, compressed three ways.
const std::string kInflated = [] {
  std::string s;
  for (int i = 0; i < 4; ++i) s += "Hello, compressed world! ";
  return s;
}();
const std::string kGzip =
    "\x1f\x8b\x08\x00\x00\x00\x00\x00\x02\x03\xf3\x48\xcd\xc9\xc9\xd7\x51\x48\xce\xcf\x2d\x28\x4a"
    "\x2d\x2e\x4e\x4d\x51\x28\xcf\x2f\xca\x49\x51\x54\xf0\xa0\x9e\x04\x00\x76\x7c\x97\xfc\x64\x00"
    "\x00\x00"s;
const std::string kZlibDeflate =
    "\x78\x9c\xf3\x48\xcd\xc9\xc9\xd7\x51\x48\xce\xcf\x2d\x28\x4a\x2d\x2e\x4e\x4d\x51\x28\xcf\x2f"
    "\xca\x49\x51\x54\xf0\xa0\x9e\x04\x00\x23\xfd\x23\xf9"s;
const std::string kRawDeflate =
    "\xf3\x48\xcd\xc9\xc9\xd7\x51\x48\xce\xcf\x2d\x28\x4a\x2d\x2e\x4e\x4d\x51\x28\xcf\x2f\xca\x49"
    "\x51\x54\xf0\xa0\x9e\x04\x00"s;

// "朋友圈" in GBK, and with a four-byte GB18030 character (U+1F600) added.
const std::string kGbkFriends = "\xc5\xf3\xd3\xd1\xc8\xa6";
const std::string kUtf8Friends = "\xe6\x9c\x8b\xe5\x8f\x8b\xe5\x9c\x88";
const std::string kGb18030FriendsSmile = "\xc5\xf3\xd3\xd1\xc8\xa6\x94\x39\xfc\x36";
const std::string kUtf8FriendsSmile = kUtf8Friends + "\xf0\x9f\x98\x80";
// Not valid UTF-8 and not valid GBK either: any conversion would alter it.
const std::string kInvalidBytes = "a\xff\xfe\xc5z\x80"s;

// A route with a fixed response.
struct Page {
  std::string path;
  int status;
  std::string contentType;
  std::string contentEncoding;
  std::string body;
};

const std::vector<Page>& Pages() {
  static const std::vector<Page> pages = {
      {"/plain", 200, "text/plain", "", "hello"},
      {"/gzip", 200, "text/plain", "gzip", kGzip},
      {"/deflate", 200, "text/plain", "deflate", kZlibDeflate},
      {"/raw-deflate", 200, "text/plain", "deflate", kRawDeflate},
      {"/gbk", 200, "text/html; charset=GBK", "", kGbkFriends},
      {"/gb2312", 200, "text/plain;charset=gb2312", "", kGbkFriends},
      {"/gb18030-quoted", 200, "text/html; charset=\"GB18030\"", "", kGb18030FriendsSmile},
      {"/gbk-spaced", 200, "text/html ;  CharSet = Gbk ", "", kGbkFriends},
      {"/gbk-gzip", 200, "text/html; charset=gbk", "gzip",
       "\x1f\x8b\x08\x00\x00\x00\x00\x00\x02\x03\x3b\xfa\xf9\xf2\xc5\x13\xcb\x00\xc2\x16\x4f\x7b"
       "\x06\x00\x00\x00"s},
      {"/utf8", 200, "text/html; charset=utf-8", "", kInvalidBytes},
      {"/no-charset", 200, "text/html", "", kGbkFriends},
      {"/other-param", 200, "text/html; x-charset=gbk", "", kGbkFriends},
      {"/not-found", 404, "text/html", "", "no such page"},
      {"/failing", 500, "text/plain", "", "server trouble"},
  };
  return pages;
}

constexpr std::size_t kPartialBytes = 100;

class HttpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto& s = server_.server();
    for (const Page& page : Pages()) {
      s.Get(page.path, [&page](const httplib::Request&, httplib::Response& res) {
        res.status = page.status;
        if (!page.contentEncoding.empty()) res.set_header("Content-Encoding", page.contentEncoding);
        res.set_content(page.body, page.contentType);
      });
    }
    // The redirect response itself claims GBK: only the final response's
    // charset may count.
    s.Get("/moved", [](const httplib::Request&, httplib::Response& res) {
      res.set_content(kGbkFriends, "text/html; charset=gbk");
      res.status = 302;
      res.set_header("Location", "/utf8");
    });
    s.Get("/to-file", [](const httplib::Request&, httplib::Response& res) {
      res.status = 302;
      res.set_header("Location", "file:///etc/hostname");
    });
    auto echo = [](const httplib::Request&, httplib::Response& res) {
      res.set_content("seen", "text/plain");
    };
    s.Get("/echo", echo);
    s.Post("/echo", echo);
    s.Delete("/echo", echo);
    s.Get("/silent", [this](const httplib::Request&, httplib::Response& res) {
      WaitForRelease();
      res.set_content("too late", "text/plain");
    });
    s.Get("/slow", [](const httplib::Request&, httplib::Response& res) {
      std::this_thread::sleep_for(milliseconds(300));
      res.set_content("late", "text/plain");
    });
    s.Get("/stall-mid-body", [this](const httplib::Request&, httplib::Response& res) {
      res.set_content_provider(1000, "application/octet-stream",
                               [this](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                                 if (offset == 0) return sink.write(Filler(kPartialBytes).data(), kPartialBytes);
                                 WaitForRelease();
                                 return false;
                               });
    });
    s.Get("/drop", [](const httplib::Request&, httplib::Response& res) {
      res.set_content_provider(1000, "application/octet-stream",
                               [](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                                 if (offset == 0) return sink.write(Filler(kPartialBytes).data(), kPartialBytes);
                                 return false;
                               });
    });
    s.Get("/drop-chunked", [](const httplib::Request&, httplib::Response& res) {
      res.set_chunked_content_provider(
          "application/octet-stream", [](std::size_t offset, httplib::DataSink& sink) {
            if (offset == 0) return sink.write(Filler(kPartialBytes).data(), kPartialBytes);
            return false;
          });
    });
    s.Get("/big", [](const httplib::Request&, httplib::Response& res) {
      res.set_content(Filler(5000), "application/octet-stream");
    });
    s.Get("/big-chunked", [](const httplib::Request&, httplib::Response& res) {
      res.set_chunked_content_provider(
          "application/octet-stream", [](std::size_t offset, httplib::DataSink& sink) {
            if (offset >= 5000) {
              sink.done();
              return true;
            }
            return sink.write(Filler(500).data(), 500);
          });
    });
    s.Get(R"(/n/(\d+))", [](const httplib::Request& req, httplib::Response& res) {
      res.set_content(NumberedBody(req.matches[1]), "text/plain");
    });
    s.Get("/huge", [](const httplib::Request&, httplib::Response& res) {
      res.set_content_provider(kHugeSize, "application/octet-stream",
                               [](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
                                 static const std::string pattern = Filler(kChunk + 251);
                                 const std::size_t n = std::min(length, kChunk);
                                 return sink.write(pattern.data() + offset % 251, n);
                               });
    });
    server_.Start();
  }

  void TearDown() override {
    released_ = true;
    server_.Stop();
  }

  void WaitForRelease() const {
    while (!released_) std::this_thread::sleep_for(milliseconds(10));
  }

  // Bytes whose value depends on their offset, so a lost or repeated piece shows.
  static std::string Filler(std::size_t n) {
    std::string s(n, '\0');
    for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<char>(i % 251);
    return s;
  }

  static std::string NumberedBody(const std::string& n) {
    std::string body;
    for (int i = 0; i < 200; ++i) body += "item " + n + ";";
    return body;
  }

  // "/path" becomes a URL on the test server; {port}, {unused} and {file} are
  // filled in.
  std::string Target(std::string t) const {
    if (!t.empty() && t[0] == '/') return server_.Url(t);
    Replace(t, "{port}", std::to_string(server_.port()));
    Replace(t, "{unused}", std::to_string(test::UnusedLocalPort()));
    Replace(t, "{file}", LocalFile());
    return t;
  }

  static void Replace(std::string& s, const std::string& what, const std::string& with) {
    const auto pos = s.find(what);
    if (pos != std::string::npos) s.replace(pos, what.size(), with);
  }

  std::string LocalFile() const {
    const std::string path = dir_.file("local.txt");
    std::ofstream(path) << "local secret";
    return path;
  }

  static HttpLimits ShortLimits(std::size_t maxBody = std::size_t{64} * 1024 * 1024) {
    HttpLimits limits;
    limits.connect = milliseconds(5000);
    limits.stall = milliseconds(1000);
    limits.maxBodyBytes = maxBody;
    return limits;
  }

  static constexpr std::size_t kChunk = 64 * 1024;
  static constexpr std::size_t kHugeSize = std::size_t{100} * 1024 * 1024;

  test::TempDir dir_;
  test::LocalServer server_;
  std::atomic<bool> released_{false};
};

// ---- HttpRequest: bodies ------------------------------------------------------

TEST_F(HttpTest, RequestReturnsDecodedBodies) {
  struct Case {
    const char* path;
    std::string expected;
  };
  const Case cases[] = {
      {"/plain", "hello"},
      {"/gzip", kInflated},
      {"/deflate", kInflated},
      {"/raw-deflate", kInflated},
      {"/gbk", kUtf8Friends},
      {"/gb2312", kUtf8Friends},
      {"/gb18030-quoted", kUtf8FriendsSmile},
      {"/gbk-spaced", kUtf8Friends},
      {"/gbk-gzip", kUtf8Friends},
      {"/utf8", kInvalidBytes},
      {"/no-charset", kGbkFriends},
      {"/other-param", kGbkFriends},
      {"/not-found", "no such page"},
      {"/failing", "server trouble"},
      {"/moved", kInvalidBytes},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(HttpRequest(server_.Url(c.path), "", "", ShortLimits()), c.expected);
  }
}

TEST_F(HttpTest, RequestAsTheServerSeesIt) {
  struct Case {
    const char* name;
    std::string method;
    std::string headers;
    std::string expectedMethod;
    std::vector<std::pair<std::string, std::string>> expectedHeaders;
  };
  const Case cases[] = {
      {"empty method", "", "", "GET", {}},
      {"post", "POST", "", "POST", {{"Content-Length", "0"}}},
      {"delete", "DELETE", "", "DELETE", {}},
      {"no blank after colon", "", "apikey:KEY", "GET", {{"apikey", "KEY"}}},
      {"two lines", "", "A: 1\r\nB: 2", "GET", {{"A", "1"}, {"B", "2"}}},
      {"final CRLF", "", "A: 1\r\nB: 2\r\n", "GET", {{"A", "1"}, {"B", "2"}}},
      {"blank line inside", "POST", "A: 1\r\n\r\nB: 2\r\n", "POST", {{"A", "1"}, {"B", "2"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::size_t before = server_.RequestCount();
    EXPECT_EQ(HttpRequest(server_.Url("/echo"), c.method, c.headers, ShortLimits()), "seen");
    const auto requests = server_.Requests();
    ASSERT_EQ(requests.size(), before + 1);
    const test::RecordedRequest& seen = requests.back();
    EXPECT_EQ(seen.method, c.expectedMethod);
    EXPECT_EQ(seen.target, "/echo");
    for (const auto& [name, value] : c.expectedHeaders) {
      EXPECT_EQ(seen.headers.count(name), 1u) << name;
      const auto it = seen.headers.find(name);
      if (it != seen.headers.end()) {
        EXPECT_EQ(it->second, value) << name;
      }
    }
    // Inflated bodies are asked for.
    const auto enc = seen.headers.find("Accept-Encoding");
    ASSERT_NE(enc, seen.headers.end());
    EXPECT_NE(enc->second.find("gzip"), std::string::npos);
    EXPECT_NE(enc->second.find("deflate"), std::string::npos);
  }
}

TEST_F(HttpTest, RequestFailuresGiveEmptyText) {
  struct Case {
    const char* name;
    std::string target;
    std::size_t maxBody;
  };
  const std::size_t any = std::size_t{64} * 1024 * 1024;
  const Case cases[] = {
      {"refused", "http://127.0.0.1:{unused}/", any},
      {"never answers", "/silent", any},
      {"stalls mid-body", "/stall-mid-body", any},
      {"dropped midway", "/drop", any},
      {"chunked dropped midway", "/drop-chunked", any},
      {"body over the limit", "/big", 4999},
      {"chunked body over the limit", "/big-chunked", 4999},
      {"inflated body over the limit", "/gzip", kInflated.size() - 1},
      {"port out of range", "http://127.0.0.1:99999/plain", any},
      {"unclosed bracket", "http://[::1/plain", any},
      {"empty", "", any},
      {"other protocol", "ftp://127.0.0.1:{port}/plain", any},
      {"local file", "file://{file}", any},
      {"redirect to a local file", "/to-file", any},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(HttpRequest(Target(c.target), "", "", ShortLimits(c.maxBody)), "");
  }
  // The limit itself is not a failure.
  EXPECT_EQ(HttpRequest(server_.Url("/big"), "", "", ShortLimits(5000)).size(), 5000u);
  EXPECT_EQ(HttpRequest(server_.Url("/gzip"), "", "", ShortLimits(kInflated.size())), kInflated);
}

TEST_F(HttpTest, RequestReturnsAHundredMegabyteBody) {
  const std::string body = HttpRequest(server_.Url("/huge"));
  ASSERT_EQ(body.size(), kHugeSize);
  std::size_t wrong = 0;
  for (std::size_t i = 0; i < body.size(); ++i)
    wrong += static_cast<unsigned char>(body[i]) != i % 251;
  EXPECT_EQ(wrong, 0u);
}

// ---- wait hook -----------------------------------------------------------------

struct HookReset {
  ~HookReset() { SetHttpWaitHook({}); }
};

TEST_F(HttpTest, WaitHookRunsOnTheWaitingThread) {
  HookReset reset;
  std::atomic<int> calls{0};
  std::atomic<int> foreignCalls{0};
  const auto self = std::this_thread::get_id();
  SetHttpWaitHook([&] {
    ++calls;
    if (std::this_thread::get_id() != self) ++foreignCalls;
  });
  EXPECT_EQ(HttpRequest(server_.Url("/slow"), "", "", ShortLimits()), "late");
  EXPECT_GE(calls.load(), 1);
  EXPECT_EQ(foreignCalls.load(), 0);

  // Once removed, it is not called again.
  SetHttpWaitHook({});
  const int before = calls.load();
  EXPECT_EQ(HttpRequest(server_.Url("/slow"), "", "", ShortLimits()), "late");
  EXPECT_EQ(calls.load(), before);
}

// ---- HttpFetchFile --------------------------------------------------------------

TEST_F(HttpTest, FetchFileOutcomes) {
  struct Case {
    const char* name;
    std::string target;
    HttpFileOutcome outcome;
    long status;
    std::string body;
  };
  const std::string partial = Filler(kPartialBytes);
  const Case cases[] = {
      {"complete", "/plain", HttpFileOutcome::Complete, 200, "hello"},
      {"not found keeps its body", "/not-found", HttpFileOutcome::Complete, 404, "no such page"},
      {"server error keeps its body", "/failing", HttpFileOutcome::Complete, 500,
       "server trouble"},
      {"redirect followed", "/moved", HttpFileOutcome::Complete, 200, kInvalidBytes},
      {"bytes as sent, no charset conversion", "/gbk", HttpFileOutcome::Complete, 200,
       kGbkFriends},
      {"refused", "http://127.0.0.1:{unused}/", HttpFileOutcome::NoResponse, 0, ""},
      {"never answers", "/silent", HttpFileOutcome::NoResponse, 0, ""},
      {"dropped midway", "/drop", HttpFileOutcome::Broken, 200, partial},
      {"chunked dropped midway", "/drop-chunked", HttpFileOutcome::Broken, 200, partial},
      {"stalls mid-body", "/stall-mid-body", HttpFileOutcome::Broken, 200, partial},
      {"malformed", "http://[::1/plain", HttpFileOutcome::NoResponse, 0, ""},
      {"empty", "", HttpFileOutcome::NoResponse, 0, ""},
      {"local file", "file://{file}", HttpFileOutcome::NoResponse, 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const HttpFileResult r = HttpFetchFile(Target(c.target), ShortLimits());
    EXPECT_EQ(r.outcome, c.outcome);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.body, c.body);
  }
}

TEST_F(HttpTest, FetchFileOverTheLimitIsBrokenWithWhatArrived) {
  const HttpFileResult r = HttpFetchFile(server_.Url("/big"), ShortLimits(1000));
  EXPECT_EQ(r.outcome, HttpFileOutcome::Broken);
  EXPECT_EQ(r.status, 200);
  EXPECT_LE(r.body.size(), 1000u);
  EXPECT_EQ(r.body, Filler(r.body.size()));
}

TEST_F(HttpTest, FetchFileAsksForAnyTypeUncachedAndRaw) {
  EXPECT_EQ(HttpReadFile(server_.Url("/gzip")), kGzip);
  const auto requests = server_.Requests();
  ASSERT_EQ(requests.size(), 1u);
  const auto& h = requests[0].headers;
  EXPECT_EQ(requests[0].method, "GET");
  const std::pair<std::string, std::string> expected[] = {
      {"Accept", "*/*"}, {"Cache-Control", "no-cache"}, {"Pragma", "no-cache"}};
  for (const auto& [name, value] : expected) {
    ASSERT_EQ(h.count(name), 1u) << name;
    EXPECT_EQ(h.find(name)->second, value);
  }
  EXPECT_EQ(h.count("Accept-Encoding"), 0u);
}

TEST_F(HttpTest, ReadFileGivesWhatArrived) {
  EXPECT_EQ(HttpReadFile(server_.Url("/not-found")), "no such page");
  EXPECT_EQ(HttpReadFile(server_.Url("/drop")), Filler(kPartialBytes));
  EXPECT_EQ(HttpReadFile("http://127.0.0.1:" + std::to_string(test::UnusedLocalPort()) + "/"), "");
}

TEST_F(HttpTest, ConcurrentReadsGetTheirOwnBodies) {
  constexpr int kThreads = 16;
  std::vector<std::string> bodies(kThreads);
  std::vector<std::thread> threads;
  for (int i = 0; i < kThreads; ++i)
    threads.emplace_back(
        [&, i] { bodies[i] = HttpReadFile(server_.Url("/n/" + std::to_string(i))); });
  for (auto& t : threads) t.join();
  for (int i = 0; i < kThreads; ++i) EXPECT_EQ(bodies[i], NumberedBody(std::to_string(i))) << i;
}

}  // namespace
}  // namespace orv
