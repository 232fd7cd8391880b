#include "feed/FeedClient.h"

#include <utility>

#include "platform/Http.h"
#include "platform/Text.h"
#include "platform/Url.h"

namespace orv {
namespace {

// Answers shorter than this are the end of the feed: a failure, an empty page
// or a bare error object of the API, none of which carries articles.
constexpr std::size_t kShortAnswer = 100;

}  // namespace

FeedClient::FeedClient(std::string endpoint, FeedTransport transport)
    : endpoint_(std::move(endpoint)), transport_(std::move(transport)) {
  if (!transport_) {
    transport_ = [](const std::string& url, const std::string& headers) {
      return HttpRequest(url, "GET", headers);
    };
  }
}

std::string FeedClient::DefaultEndpoint() { return std::string("http://") + kFeedApiHost + "/wxnew/"; }

std::string FeedClient::BuildFeedUrl(int32_t num, int32_t rand, const std::string& keyword, int32_t page,
                                     const std::string& source) const {
  std::string url = endpoint_;
  url += "?key=";
  url += kFeedApiKey;
  url += "&num=" + std::to_string(num);
  if (rand != 0) url += "&rand=" + std::to_string(rand);
  if (!keyword.empty()) url += "&word=" + UrlEncode(keyword);
  if (page != 0) url += "&page=" + std::to_string(page);
  if (!source.empty()) url += "&src=" + UrlEncode(source);
  return url;
}

std::string FeedClient::FetchFeed(int32_t num, int32_t rand, const std::string& keyword, int32_t pageCount,
                                  const std::string& source) const {
  if (num < 0) num = 10;
  if (pageCount <= 0) pageCount = 1;
  const std::string header = std::string("apikey:") + kFeedApiKey;

  std::string joined;
  // Counted in 64 bits so that a page count of INT32_MAX cannot wrap; the loop
  // ends at the first short answer long before that in practice.
  for (int64_t page = 1; page <= pageCount; ++page) {
    std::string answer = transport_(BuildFeedUrl(num, rand, keyword, static_cast<int32_t>(page), source), header);
    if (answer.size() < kShortAnswer) break;
    joined += answer;
  }
  if (joined.empty()) return {};
  // A "%" split across two pages is decoded as one escape: decoding happens
  // on the joined text, not per page.
  return ReplaceAll(SanitizeUtf8(UrlDecode(joined)), "\\/", "/");
}

}  // namespace orv
