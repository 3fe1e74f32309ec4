// An HTTP server on 127.0.0.1 with a port chosen by the system, running on
// its own thread for the life of the object. It records every request it
// receives; tests register pages on it.
#pragma once

#include <httplib.h>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace zvtest {

struct ReceivedRequest {
  std::string method;
  std::string path;
  std::vector<std::pair<std::string, std::string>> headers;  // in order received
  std::string body;

  // Values of every header with this name (case-insensitive), in order.
  std::vector<std::string> header_values(const std::string& name) const;
};

class HttpServer {
 public:
  HttpServer();
  ~HttpServer();

  // Serves `html` at `path` (GET and POST); the requests for it are
  // recorded.
  void page(const std::string& path, const std::string& html);
  std::string url(const std::string& path) const;
  std::vector<ReceivedRequest> requests() const;
  httplib::Server& server() { return server_; }
  void record(const httplib::Request& request);

 private:

  httplib::Server server_;
  int port_ = 0;
  std::thread thread_;
  mutable std::mutex mutex_;
  std::vector<ReceivedRequest> requests_;
};

}  // namespace zvtest
