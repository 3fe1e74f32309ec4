// Winsock 2 behind utils/platform/socket.h.

#include <winsock2.h>
#include <ws2tcpip.h>

#include <climits>
#include <string>
#include <utility>
#include <vector>

#include "utils/platform/socket.h"

namespace utils::platform {
namespace {

// WSAStartup once per process, before the first socket; WSACleanup when the
// process exits.
class WinsockSession {
 public:
  WinsockSession() {
    WSADATA data;
    started_ = WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }
  ~WinsockSession() {
    if (started_) WSACleanup();
  }

 private:
  bool started_ = false;
};

void ensure_started() { static WinsockSession session; }

SOCKET handle(const Socket& socket) { return static_cast<SOCKET>(socket.native()); }

std::string error_text(int error) {
  char* text = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(error), 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string result = length ? std::string(text, length) : "socket error " + std::to_string(error);
  if (text) LocalFree(text);
  while (!result.empty() && (result.back() == '\n' || result.back() == '\r')) result.pop_back();
  return result;
}

sockaddr_in loopback(uint16_t port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

Socket new_stream_socket(std::string* error) {
  ensure_started();
  const SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) {
    *error = error_text(WSAGetLastError());
    return Socket();
  }
  return Socket(static_cast<Socket::Native>(s));
}

IoResult io_result(int n) {
  if (n != SOCKET_ERROR) return {IoStatus::Done, static_cast<size_t>(n), {}};
  const int error = WSAGetLastError();
  switch (error) {
    case WSAEWOULDBLOCK:
      return {IoStatus::WouldBlock, 0, {}};
    case WSAEINTR:
      return {IoStatus::Interrupted, 0, {}};
    case WSAECONNRESET:
    case WSAECONNABORTED:
    case WSAESHUTDOWN:
      return {IoStatus::PeerReset, 0, error_text(error)};
    default:
      return {IoStatus::Failed, 0, error_text(error)};
  }
}

int clamp_size(size_t size) { return size > INT_MAX ? INT_MAX : static_cast<int>(size); }

}  // namespace

Socket& Socket::operator=(Socket&& other) noexcept {
  if (this != &other) {
    close();
    handle_ = std::exchange(other.handle_, kInvalid);
  }
  return *this;
}

void Socket::close() {
  if (valid()) ::closesocket(static_cast<SOCKET>(std::exchange(handle_, kInvalid)));
}

Socket connect_loopback(uint16_t port, std::string* error) {
  Socket socket = new_stream_socket(error);
  if (!socket.valid()) return socket;
  const sockaddr_in address = loopback(port);
  if (::connect(handle(socket), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    *error = error_text(WSAGetLastError());
    socket.close();
  }
  return socket;
}

Socket listen_loopback(int backlog, std::string* error) {
  Socket socket = new_stream_socket(error);
  if (!socket.valid()) return socket;
  const sockaddr_in address = loopback(0);
  if (::bind(handle(socket), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(handle(socket), backlog) != 0) {
    *error = error_text(WSAGetLastError());
    socket.close();
  }
  return socket;
}

bool local_port(const Socket& socket, uint16_t* port) {
  sockaddr_in address{};
  int size = sizeof address;
  if (::getsockname(handle(socket), reinterpret_cast<sockaddr*>(&address), &size) != 0) return false;
  *port = ntohs(address.sin_port);
  return true;
}

bool set_non_blocking(const Socket& socket) {
  u_long on = 1;
  return ::ioctlsocket(handle(socket), FIONBIO, &on) == 0;
}

Socket accept_connection(const Socket& listener) {
  const SOCKET s = ::accept(handle(listener), nullptr, nullptr);
  return s == INVALID_SOCKET ? Socket() : Socket(static_cast<Socket::Native>(s));
}

IoResult receive_some(const Socket& socket, char* buffer, size_t size) {
  return io_result(::recv(handle(socket), buffer, clamp_size(size), 0));
}

IoResult send_some(const Socket& socket, const char* data, size_t size) {
  return io_result(::send(handle(socket), data, clamp_size(size), 0));
}

}  // namespace utils::platform

namespace utils::platform {

int poll_readable(PollItem* items, size_t count, int timeout_ms) {
  std::vector<WSAPOLLFD> fds(count);
  for (size_t i = 0; i < count; ++i) fds[i] = {static_cast<SOCKET>(items[i].handle), POLLRDNORM, 0};
  const int ready = ::WSAPoll(fds.data(), static_cast<ULONG>(count), timeout_ms);
  if (ready == SOCKET_ERROR) return -1;
  for (size_t i = 0; i < count; ++i) items[i].ready = fds[i].revents != 0;
  return ready;
}

void close_abortively(Socket& socket) {
  if (!socket.valid()) return;
  const linger abort_on_close{1, 0};
  ::setsockopt(handle(socket), SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abort_on_close),
               sizeof abort_on_close);
  socket.close();
}

void set_no_delay(const Socket& socket) {
  const BOOL on = TRUE;
  ::setsockopt(handle(socket), IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
}

}  // namespace utils::platform
