// A message channel between the browser process and one renderer over a
// connected socket: frames of [length u32][type u32][payload]. A reader
// thread hands each received message to a callback and reports the end of
// the connection; sending is thread-safe.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace cefwork::ipc {

class Channel {
 public:
  using OnMessage = std::function<void(uint32_t type, std::string payload)>;
  using OnClosed = std::function<void()>;

  // Takes ownership of `fd` and starts reading at once.
  Channel(int fd, OnMessage on_message, OnClosed on_closed);
  // Shuts the connection down and joins the reader.
  ~Channel();
  Channel(const Channel&) = delete;
  Channel& operator=(const Channel&) = delete;

  // False when the connection is gone.
  bool send(uint32_t type, const std::string& payload);
  // Ends the connection; the peer reads its end.
  void shutdown();

 private:
  void read_loop();

  int fd_;
  OnMessage on_message_;
  OnClosed on_closed_;
  std::mutex write_mutex_;
  std::thread reader_;
};

}  // namespace cefwork::ipc
