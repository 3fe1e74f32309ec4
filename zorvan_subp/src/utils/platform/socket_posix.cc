// BSD sockets behind utils/platform/socket.h.

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <utility>

#include "utils/platform/socket.h"

namespace utils::platform {
namespace {

int fd(const Socket& socket) { return static_cast<int>(socket.native()); }

std::string errno_text(int error) { return std::strerror(error); }

sockaddr_in loopback(uint16_t port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

IoResult io_result(ssize_t n) {
  if (n >= 0) return {IoStatus::Done, static_cast<size_t>(n), {}};
  const int error = errno;
  switch (error) {
    case EAGAIN:
#if EWOULDBLOCK != EAGAIN
    case EWOULDBLOCK:
#endif
      return {IoStatus::WouldBlock, 0, {}};
    case EINTR:
      return {IoStatus::Interrupted, 0, {}};
    case ECONNRESET:
    case EPIPE:
      return {IoStatus::PeerReset, 0, errno_text(error)};
    default:
      return {IoStatus::Failed, 0, errno_text(error)};
  }
}

bool set_blocking(int socket, bool blocking) {
  const int flags = ::fcntl(socket, F_GETFL);
  if (flags < 0) return false;
  return ::fcntl(socket, F_SETFL, blocking ? flags & ~O_NONBLOCK : flags | O_NONBLOCK) == 0;
}

// Waits for a non-blocking connect to end, at most kConnectTimeoutMs in all
// (signals included); 0 when it succeeded, else the error that ended it.
int finish_connect(int socket) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(kConnectTimeoutMs);
  pollfd waiting{socket, POLLOUT, 0};
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    const int ready = ::poll(&waiting, 1, left.count() > 0 ? static_cast<int>(left.count()) : 0);
    if (ready > 0) break;
    if (ready == 0) return ETIMEDOUT;
    if (errno != EINTR) return errno;
  }
  int error = 0;
  socklen_t size = sizeof error;
  if (::getsockopt(socket, SOL_SOCKET, SO_ERROR, &error, &size) != 0) return errno;
  return error;
}

}  // namespace

Socket& Socket::operator=(Socket&& other) noexcept {
  if (this != &other) {
    close();
    handle_ = std::exchange(other.handle_, kInvalid);
  }
  return *this;
}

void Socket::close() {
  if (valid()) ::close(static_cast<int>(std::exchange(handle_, kInvalid)));
}

Socket connect_loopback(uint16_t port, std::string* error) {
  Socket socket(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
  if (!socket.valid()) {
    *error = errno_text(errno);
    return socket;
  }
  // Non-blocking, so that a listener whose queue is full (its SYNs dropped
  // and retried for minutes) cannot hold the caller beyond the bound.
  const sockaddr_in address = loopback(port);
  int result = ::connect(fd(socket), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 ? 0 : errno;
  if (result == EINPROGRESS || result == EINTR) result = finish_connect(fd(socket));
  if (result == 0 && !set_blocking(fd(socket), true)) result = errno;
  if (result != 0) {
    *error = errno_text(result);
    socket.close();
  }
  return socket;
}

Socket listen_loopback(int backlog, std::string* error) {
  Socket socket(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (!socket.valid()) {
    *error = errno_text(errno);
    return socket;
  }
  const sockaddr_in address = loopback(0);
  if (::bind(fd(socket), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(fd(socket), backlog) != 0) {
    *error = errno_text(errno);
    socket.close();
  }
  return socket;
}

bool local_port(const Socket& socket, uint16_t* port) {
  sockaddr_in address{};
  socklen_t size = sizeof address;
  if (::getsockname(fd(socket), reinterpret_cast<sockaddr*>(&address), &size) != 0) return false;
  *port = ntohs(address.sin_port);
  return true;
}

bool set_non_blocking(const Socket& socket) { return set_blocking(fd(socket), false); }

Socket accept_connection(const Socket& listener) {
  return Socket(::accept4(fd(listener), nullptr, nullptr, SOCK_CLOEXEC));
}

IoResult receive_some(const Socket& socket, char* buffer, size_t size) {
  return io_result(::recv(fd(socket), buffer, size, 0));
}

IoResult send_some(const Socket& socket, const char* data, size_t size) {
  return io_result(::send(fd(socket), data, size, MSG_NOSIGNAL));
}

}  // namespace utils::platform
