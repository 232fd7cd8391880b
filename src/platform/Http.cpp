#include "platform/Http.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <mutex>
#include <new>
#include <stdexcept>
#include <string_view>
#include <utility>

#include "platform/Codepage.h"

namespace orv {

namespace {

constexpr long kMaxRedirects = 10;
// Short enough that a window kept alive by the wait hook never looks frozen.
constexpr int kPollMilliseconds = 50;

void InitCurlOnce() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// Never destroyed: a worker may still be inside a request while the process
// runs its exit handlers.
std::mutex& HookMutex() {
  static auto* m = new std::mutex;
  return *m;
}

HttpWaitHook& HookSlot() {
  static auto* hook = new HttpWaitHook;
  return *hook;
}

void CallWaitHook() {
  HttpWaitHook hook;
  {
    std::lock_guard lock(HookMutex());
    hook = HookSlot();
  }
  // Outside the lock: the hook may run window events that start requests of
  // their own, or install another hook.
  if (hook) hook();
}

struct EasyDeleter {
  void operator()(CURL* h) const { curl_easy_cleanup(h); }
};
using EasyHandle = std::unique_ptr<CURL, EasyDeleter>;

struct SlistDeleter {
  void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};
using HeaderList = std::unique_ptr<curl_slist, SlistDeleter>;

struct MultiDeleter {
  void operator()(CURLM* m) const { curl_multi_cleanup(m); }
};
using MultiHandle = std::unique_ptr<CURLM, MultiDeleter>;

// State shared with the curl callbacks of one transfer.
struct Transfer {
  using Clock = std::chrono::steady_clock;
  CURL* easy = nullptr;
  std::string body;
  std::size_t maxBody = 0;
  std::chrono::milliseconds stall{0};
  Clock::time_point lastActivity = Clock::now();
  curl_off_t lastDown = 0;
  curl_off_t lastUp = 0;
  bool sawStatusLine = false;
  bool reserved = false;
};

std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* user) {
  auto* t = static_cast<Transfer*>(user);
  const std::size_t n = size * count;
  t->lastActivity = Transfer::Clock::now();
  std::string_view line(data, n);
  if (line.size() >= 5 && line.substr(0, 5) == "HTTP/") {
    // A new response begins (after a redirect or an interim 1xx): whatever
    // an earlier response carried is not part of the final body.
    t->sawStatusLine = true;
    t->body.clear();
    t->reserved = false;
  }
  return n;
}

std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* user) {
  auto* t = static_cast<Transfer*>(user);
  const std::size_t n = size * count;
  t->lastActivity = Transfer::Clock::now();
  if (n > t->maxBody - std::min(t->maxBody, t->body.size()))
    return 0;  // makes curl abort with a write error
  try {
    if (!t->reserved) {
      t->reserved = true;
      curl_off_t length = -1;
      // The declared length may be of the compressed form; it is only a hint
      // that saves the repeated growth of a large body.
      if (curl_easy_getinfo(t->easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) == CURLE_OK &&
          length > 0) {
        const auto want = static_cast<unsigned long long>(length);
        t->body.reserve(static_cast<std::size_t>(
            std::min<unsigned long long>(want, static_cast<unsigned long long>(t->maxBody))));
      }
    }
    t->body.append(data, n);
  } catch (const std::bad_alloc&) {
    return 0;
  } catch (const std::length_error&) {
    return 0;
  }
  return n;
}

// curl's own low-speed check averages over several seconds, so after a burst
// of bytes it notices a dead connection only seconds past the limit. This one
// fails a transfer that has moved nothing at all for the whole stall limit.
int OnProgress(void* user, curl_off_t, curl_off_t down, curl_off_t, curl_off_t up) {
  auto* t = static_cast<Transfer*>(user);
  const auto now = Transfer::Clock::now();
  curl_off_t requestSentAt = 0;
  // Until the request is on its way the connect limit governs, not this one.
  if (curl_easy_getinfo(t->easy, CURLINFO_PRETRANSFER_TIME_T, &requestSentAt) != CURLE_OK ||
      requestSentAt == 0 || down != t->lastDown || up != t->lastUp) {
    t->lastDown = down;
    t->lastUp = up;
    t->lastActivity = now;
    return 0;
  }
  return now - t->lastActivity >= t->stall ? 1 : 0;
}

long StallSeconds(std::chrono::milliseconds stall) {
  // curl measures speed in whole seconds; round up so a limit never shrinks.
  const long long ms = stall.count();
  long long s = ms <= 0 ? 1 : (ms + 999) / 1000;
  return static_cast<long>(std::max<long long>(1, s));
}

// Options common to both kinds of request.
void SetCommonOptions(CURL* h, const std::string& url, const HttpLimits& limits, Transfer* t) {
  t->easy = h;
  t->maxBody = limits.maxBodyBytes;
  curl_easy_setopt(h, CURLOPT_URL, url.c_str());
  curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
#if LIBCURL_VERSION_NUM >= 0x075500
  curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
#else
  curl_easy_setopt(h, CURLOPT_PROTOCOLS, static_cast<long>(CURLPROTO_HTTP | CURLPROTO_HTTPS));
  curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS,
                   static_cast<long>(CURLPROTO_HTTP | CURLPROTO_HTTPS));
#endif
  curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(h, CURLOPT_MAXREDIRS, kMaxRedirects);
  const long long connectMs = std::max<long long>(1, limits.connect.count());
  curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(connectMs));
  curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, StallSeconds(limits.stall));
  curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, &OnHeader);
  curl_easy_setopt(h, CURLOPT_HEADERDATA, t);
  curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &OnBody);
  curl_easy_setopt(h, CURLOPT_WRITEDATA, t);
  t->stall = std::max(limits.stall, std::chrono::milliseconds(1));
  curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, &OnProgress);
  curl_easy_setopt(h, CURLOPT_XFERINFODATA, t);
}

// The extra header lines, one per CRLF; a lone LF also ends a line so that a
// stray one can never split a header on the wire.
HeaderList ParseHeaderLines(const std::string& headers) {
  curl_slist* list = nullptr;
  std::size_t start = 0;
  while (start < headers.size()) {
    std::size_t end = headers.find('\n', start);
    if (end == std::string::npos) end = headers.size();
    std::string line = headers.substr(start, end - start);
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
      line.pop_back();
    line.erase(std::remove(line.begin(), line.end(), '\r'), line.end());
    if (!line.empty()) {
      curl_slist* next = curl_slist_append(list, line.c_str());
      if (next == nullptr) {
        curl_slist_free_all(list);
        return HeaderList{};
      }
      list = next;
    }
    start = end + 1;
  }
  return HeaderList(list);
}

bool HasHeader(const curl_slist* list, std::string_view name) {
  for (; list != nullptr; list = list->next) {
    std::string_view line(list->data);
    if (line.size() > name.size() &&
        (line[name.size()] == ':' || line[name.size()] == ';') &&
        std::equal(name.begin(), name.end(), line.begin(), [](char a, char b) {
          return std::tolower(static_cast<unsigned char>(a)) ==
                 std::tolower(static_cast<unsigned char>(b));
        }))
      return true;
  }
  return false;
}

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n'))
    s.remove_suffix(1);
  return s;
}

// The charset parameter of a Content-Type value, without quotes; empty if none.
std::string CharsetOf(std::string_view contentType) {
  std::size_t pos = contentType.find(';');
  while (pos != std::string_view::npos) {
    std::string_view rest = contentType.substr(pos + 1);
    const std::size_t next = rest.find(';');
    std::string_view param = rest.substr(0, next);
    const std::size_t eq = param.find('=');
    if (eq != std::string_view::npos && Lower(Trim(param.substr(0, eq))) == "charset") {
      std::string_view value = Trim(param.substr(eq + 1));
      if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = Trim(value.substr(1, value.size() - 2));
      return std::string(value);
    }
    pos = next == std::string_view::npos ? next : pos + 1 + next;
  }
  return {};
}

// Drives one transfer through a private multi handle so the wait hook can run
// between polls; returns curl's result for the transfer.
CURLcode PerformWithHook(CURL* easy) {
  MultiHandle multi(curl_multi_init());
  if (!multi) return CURLE_OUT_OF_MEMORY;
  if (curl_multi_add_handle(multi.get(), easy) != CURLM_OK) return CURLE_FAILED_INIT;
  CURLcode result = CURLE_RECV_ERROR;
  bool done = false;
  while (true) {
    int running = 0;
    if (curl_multi_perform(multi.get(), &running) != CURLM_OK) break;
    int queued = 0;
    while (CURLMsg* msg = curl_multi_info_read(multi.get(), &queued)) {
      if (msg->msg == CURLMSG_DONE && msg->easy_handle == easy) {
        result = msg->data.result;
        done = true;
      }
    }
    if (done || running == 0) break;
    if (curl_multi_poll(multi.get(), nullptr, 0, kPollMilliseconds, nullptr) != CURLM_OK) break;
    CallWaitHook();
  }
  curl_multi_remove_handle(multi.get(), easy);
  return done ? result : CURLE_RECV_ERROR;
}

}  // namespace

HttpLimits DefaultRequestLimits() {
  HttpLimits l;
  l.connect = std::chrono::seconds(90);
  l.stall = std::chrono::seconds(90);
  return l;
}

HttpLimits DefaultReadFileLimits() {
  HttpLimits l;
  l.connect = std::chrono::seconds(30);
  l.stall = std::chrono::seconds(60);
  return l;
}

void SetHttpWaitHook(HttpWaitHook hook) {
  std::lock_guard lock(HookMutex());
  HookSlot() = std::move(hook);
}

std::string HttpRequest(const std::string& url, const std::string& method,
                        const std::string& headers, const HttpLimits& limits) {
  try {
    InitCurlOnce();
    EasyHandle easy(curl_easy_init());
    if (!easy) return {};
    CURL* h = easy.get();
    Transfer t;
    SetCommonOptions(h, url, limits, &t);
    // Empty asks for every encoding curl can inflate (gzip and deflate here).
    curl_easy_setopt(h, CURLOPT_ACCEPT_ENCODING, "");

    HeaderList list = ParseHeaderLines(headers);
    if (method.empty() || method == "GET") {
      curl_easy_setopt(h, CURLOPT_HTTPGET, 1L);
    } else if (method == "HEAD") {
      // A HEAD answer declares a length but sends no body; curl must know
      // not to wait for one.
      curl_easy_setopt(h, CURLOPT_NOBODY, 1L);
    } else if (method == "POST" || method == "PUT" || method == "PATCH") {
      // An empty body with an explicit zero length: servers refuse or hang on
      // a body-carrying request that declares none.
      curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE, 0L);
      curl_easy_setopt(h, CURLOPT_POSTFIELDS, "");
      if (method != "POST") curl_easy_setopt(h, CURLOPT_CUSTOMREQUEST, method.c_str());
      if (!HasHeader(list.get(), "Content-Type")) {
        // Nothing is sent, so claiming a form type would be wrong.
        curl_slist* next = curl_slist_append(list.get(), "Content-Type:");
        if (next != nullptr) {
          (void)list.release();
          list.reset(next);
        }
      }
    } else {
      curl_easy_setopt(h, CURLOPT_CUSTOMREQUEST, method.c_str());
    }
    if (list) curl_easy_setopt(h, CURLOPT_HTTPHEADER, list.get());

    if (PerformWithHook(h) != CURLE_OK) return {};

    const char* type = nullptr;
    if (curl_easy_getinfo(h, CURLINFO_CONTENT_TYPE, &type) == CURLE_OK && type != nullptr &&
        IsGbkFamilyCharset(CharsetOf(type)))
      return Gb18030ToUtf8(t.body);
    return std::move(t.body);
  } catch (...) {
    return {};
  }
}

HttpFileResult HttpFetchFile(const std::string& url, const HttpLimits& limits) {
  HttpFileResult result;
  try {
    InitCurlOnce();
    EasyHandle easy(curl_easy_init());
    if (!easy) return result;
    CURL* h = easy.get();
    Transfer t;
    SetCommonOptions(h, url, limits, &t);
    HeaderList list = ParseHeaderLines("Accept: */*\r\nCache-Control: no-cache\r\nPragma: no-cache");
    if (list) curl_easy_setopt(h, CURLOPT_HTTPHEADER, list.get());

    const CURLcode code = curl_easy_perform(h);
    long status = 0;
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status);
    if (!t.sawStatusLine) return result;
    result.status = status;
    result.outcome = code == CURLE_OK ? HttpFileOutcome::Complete : HttpFileOutcome::Broken;
    result.body = std::move(t.body);
  } catch (...) {
    // Out of memory: keep what the result already says.
  }
  return result;
}

std::string HttpReadFile(const std::string& url) { return HttpFetchFile(url).body; }

}  // namespace orv
