#include "ipc/channel.h"

#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace cefwork::ipc {
namespace {

bool write_all(int fd, const char* p, size_t n) {
  while (n > 0) {
    const ssize_t w = ::send(fd, p, n, MSG_NOSIGNAL);
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) return false;
    p += w;
    n -= static_cast<size_t>(w);
  }
  return true;
}

bool read_all(int fd, char* p, size_t n) {
  while (n > 0) {
    const ssize_t r = ::recv(fd, p, n, 0);
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) return false;
    p += r;
    n -= static_cast<size_t>(r);
  }
  return true;
}

}  // namespace

Channel::Channel(int fd, OnMessage on_message, OnClosed on_closed)
    : fd_(fd), on_message_(std::move(on_message)), on_closed_(std::move(on_closed)) {
  reader_ = std::thread([this] { read_loop(); });
}

Channel::~Channel() {
  shutdown();
  if (reader_.joinable()) {
    if (reader_.get_id() == std::this_thread::get_id()) {
      reader_.detach();  // destroyed from its own callback
    } else {
      reader_.join();
    }
  }
  ::close(fd_);
}

bool Channel::send(uint32_t type, const std::string& payload) {
  const uint32_t header[2] = {static_cast<uint32_t>(payload.size()), type};
  std::lock_guard lock(write_mutex_);
  return write_all(fd_, reinterpret_cast<const char*>(header), sizeof header) &&
         write_all(fd_, payload.data(), payload.size());
}

void Channel::shutdown() { ::shutdown(fd_, SHUT_RDWR); }

void Channel::read_loop() {
  while (true) {
    uint32_t header[2];
    if (!read_all(fd_, reinterpret_cast<char*>(header), sizeof header)) break;
    std::string payload(header[0], '\0');
    if (!read_all(fd_, payload.data(), payload.size())) break;
    on_message_(header[1], std::move(payload));
  }
  // Called from a local: a callback that destroys the channel destroys its
  // members, and the running callback must not be among them.
  const OnClosed closed = std::move(on_closed_);
  closed();
}

}  // namespace cefwork::ipc
