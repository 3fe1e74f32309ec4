#include "support/http_server.h"

#include <strings.h>

#include <chrono>

namespace zvtest {

std::vector<std::string> ReceivedRequest::header_values(const std::string& name) const {
  std::vector<std::string> values;
  for (const auto& [n, v] : headers)
    if (strcasecmp(n.c_str(), name.c_str()) == 0) values.push_back(v);
  return values;
}

HttpServer::HttpServer() {
  port_ = server_.bind_to_any_port("127.0.0.1");
  thread_ = std::thread([this] { server_.listen_after_bind(); });
  while (!server_.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

HttpServer::~HttpServer() {
  server_.stop();
  thread_.join();
}

void HttpServer::page(const std::string& path, const std::string& html) {
  // Recorded before the response goes out, so a test that saw the page
  // load also sees the request.
  auto handler = [this, html](const httplib::Request& request, httplib::Response& response) {
    record(request);
    response.set_content(html, "text/html; charset=utf-8");
  };
  server_.Get(path, handler);
  server_.Post(path, handler);
}

std::string HttpServer::url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<ReceivedRequest> HttpServer::requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

void HttpServer::record(const httplib::Request& request) {
  ReceivedRequest r;
  r.method = request.method;
  r.path = request.path;
  // httplib keeps headers in a multimap ordered by name; equal names stay in
  // the order received.
  for (const auto& [n, v] : request.headers) r.headers.emplace_back(n, v);
  r.body = request.body;
  std::lock_guard lock(mutex_);
  requests_.push_back(std::move(r));
}

}  // namespace zvtest
