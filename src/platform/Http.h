#pragma once
// HTTP on libcurl, one easy handle per call, safe on many threads at once.

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>

namespace orv {

// Time limits of one request. A transfer "stalls" when it moves fewer than
// one byte per second for `stall`.
struct HttpLimits {
  std::chrono::milliseconds connect{90000};
  std::chrono::milliseconds stall{90000};
  // Bodies larger than this (after decompression) fail instead of filling memory.
  std::size_t maxBodyBytes = std::size_t{512} * 1024 * 1024;
};

// Limits of HttpRequest: connect, send and receive 90 s each.
HttpLimits DefaultRequestLimits();
// Limits of HttpReadFile: 30 s to connect, 60 s of stalled transfer.
HttpLimits DefaultReadFileLimits();

// Body text of a request, or empty on any failure. An empty method means GET.
// `headers` are extra header lines separated by CRLF (a final CRLF optional).
// gzip and deflate bodies are inflated. A body whose Content-Type names a
// GBK-family charset is converted to UTF-8; any other body comes back as
// received. Blocks; on the window thread the wait hook (below) keeps the
// window responsive meanwhile.
std::string HttpRequest(const std::string& url, const std::string& method = {},
                        const std::string& headers = {},
                        const HttpLimits& limits = DefaultRequestLimits());

// How a file download ended.
enum class HttpFileOutcome {
  NoResponse,  // the request could not be made or no response arrived
  Complete,    // a response arrived and its whole body was received
  Broken,      // a response arrived but the transfer broke off or stalled
};

struct HttpFileResult {
  HttpFileOutcome outcome = HttpFileOutcome::NoResponse;
  long status = 0;    // HTTP status, 0 without a response
  std::string body;   // the bytes received, raw
};

// GET with "Accept: */*", uncached, redirects followed, http and https.
HttpFileResult HttpFetchFile(const std::string& url,
                             const HttpLimits& limits = DefaultReadFileLimits());

// The body bytes of HttpFetchFile: what arrived, empty when nothing did.
std::string HttpReadFile(const std::string& url);

// Called repeatedly while HttpRequest waits on the network. The window layer
// installs one that processes window events when the caller is the window
// thread; it must return quickly and must not throw.
using HttpWaitHook = std::function<void()>;
void SetHttpWaitHook(HttpWaitHook hook);

}  // namespace orv
