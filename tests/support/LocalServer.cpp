#include "support/LocalServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

namespace orv::test {

LocalServer::LocalServer() {
  // A browser keeps idle connections open; stopping the server waits for them,
  // so they may idle for a second, not the default five.
  server_.set_keep_alive_timeout(1);
  server_.set_read_timeout(1, 0);
  // Record the request before any handler runs, so a handler that stalls or
  // drops the connection is recorded too.
  server_.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response&) {
    RecordedRequest r;
    r.method = req.method;
    r.target = req.target;
    for (const auto& [name, value] : req.headers) r.headers.emplace(name, value);
    std::lock_guard lock(mutex_);
    requests_.push_back(std::move(r));
    return httplib::Server::HandlerResponse::Unhandled;
  });
}

LocalServer::~LocalServer() { Stop(); }

void LocalServer::Start() {
  port_ = server_.bind_to_any_port("127.0.0.1");
  if (port_ <= 0) throw std::runtime_error("cannot bind a local port");
  thread_ = std::thread([this] { server_.listen_after_bind(); });
  for (int i = 0; i < 500 && !server_.is_running(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
}

void LocalServer::Stop() {
  if (thread_.joinable()) {
    server_.stop();
    thread_.join();
  }
}

std::string LocalServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<RecordedRequest> LocalServer::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

std::size_t LocalServer::RequestCount() const {
  std::lock_guard lock(mutex_);
  return requests_.size();
}

int UnusedLocalPort() {
  int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = 0;
  ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
  socklen_t len = sizeof addr;
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
  ::close(fd);
  return ntohs(addr.sin_port);
}

}  // namespace orv::test
