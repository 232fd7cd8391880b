#pragma once
// The only code that talks to the feed web API.

#include <cstdint>
#include <functional>
#include <string>

namespace orv {

// The key the program identifies itself with, in the query and in a header.
inline constexpr char kFeedApiKey[] = "5a8e0c3f7b1d9e2a6c4f8b0d3e7a1c95";
// Where the feed is asked for: plain HTTP, port 80.
inline constexpr char kFeedApiHost[] = "feed.orvanta.net";

// Fetches one URL with extra header lines; returns the body or empty.
using FeedTransport = std::function<std::string(const std::string& url, const std::string& headers)>;

class FeedClient {
 public:
  // `endpoint` is everything before the query: "http://host/wxnew/".
  explicit FeedClient(std::string endpoint = DefaultEndpoint(), FeedTransport transport = {});

  static std::string DefaultEndpoint();

  // The URL of one page; keys in a fixed order, rand/word/page/src only when set.
  std::string BuildFeedUrl(int32_t num, int32_t rand, const std::string& keyword, int32_t page,
                           const std::string& source) const;

  // Pages 1..pageCount fetched one after another; the first answer under 100
  // bytes ends the loop and is dropped. The joined answers are percent-decoded
  // and read as UTF-8, with "\/" turned into "/". Empty when page 1 failed.
  std::string FetchFeed(int32_t num, int32_t rand, const std::string& keyword, int32_t pageCount,
                        const std::string& source) const;

 private:
  std::string endpoint_;
  FeedTransport transport_;
};

}  // namespace orv
