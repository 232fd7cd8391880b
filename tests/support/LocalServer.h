#pragma once
// An HTTP server on 127.0.0.1 and a free port, running on its own thread for
// the life of the object. Tests add their routes before Start().

#include <httplib.h>

#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace orv::test {

struct RecordedRequest {
  std::string method;
  std::string target;  // path and query as sent
  std::multimap<std::string, std::string> headers;  // names as sent
};

class LocalServer {
 public:
  LocalServer();
  ~LocalServer();
  LocalServer(const LocalServer&) = delete;
  LocalServer& operator=(const LocalServer&) = delete;

  httplib::Server& server() { return server_; }
  void Start();
  void Stop();

  int port() const { return port_; }
  // "http://127.0.0.1:<port>" + path
  std::string Url(const std::string& path) const;

  std::vector<RecordedRequest> Requests() const;
  std::size_t RequestCount() const;

 private:
  httplib::Server server_;
  std::thread thread_;
  int port_ = 0;
  mutable std::mutex mutex_;
  std::vector<RecordedRequest> requests_;
};

// A port on 127.0.0.1 where nothing listens (bound once, then closed).
int UnusedLocalPort();

}  // namespace orv::test
