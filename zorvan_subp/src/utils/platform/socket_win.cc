// Winsock 2 behind utils/platform/socket.h.

#include <winsock2.h>
#include <mstcpip.h>
#include <ws2tcpip.h>

#include <climits>
#include <string>
#include <utility>

#include "utils/platform/socket.h"

namespace utils::platform {
namespace {

// WSAStartup once per process, before the first socket; 0 or its error.
// There is deliberately no WSACleanup (see socket.h).
int winsock_start_error() {
  static const int error = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data);
  }();
  return error;
}

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

bool set_inheritable(SOCKET s, bool inheritable) {
  return SetHandleInformation(reinterpret_cast<HANDLE>(s), HANDLE_FLAG_INHERIT,
                              inheritable ? HANDLE_FLAG_INHERIT : 0) != 0;
}

// An overlapped-capable socket as ::socket makes it, but not inheritable.
Socket new_stream_socket(std::string* error) {
  if (const int start = winsock_start_error()) {
    *error = error_text(start);
    return Socket();
  }
  constexpr DWORD kFlags = WSA_FLAG_OVERLAPPED;
  SOCKET s = WSASocketW(AF_INET, SOCK_STREAM, IPPROTO_TCP, nullptr, 0, kFlags | WSA_FLAG_NO_HANDLE_INHERIT);
  if (s == INVALID_SOCKET && WSAGetLastError() == WSAEINVAL) {
    // Systems before Windows 7 SP1 do not know the flag.
    s = WSASocketW(AF_INET, SOCK_STREAM, IPPROTO_TCP, nullptr, 0, kFlags);
    if (s != INVALID_SOCKET && !set_inheritable(s, false)) {
      *error = error_text(static_cast<int>(GetLastError()));
      ::closesocket(s);
      return Socket();
    }
  }
  if (s == INVALID_SOCKET) {
    *error = error_text(WSAGetLastError());
    return Socket();
  }
  return Socket(static_cast<Socket::Native>(s));
}

bool set_blocking(SOCKET s, bool blocking) {
  u_long non_blocking = blocking ? 0 : 1;
  return ::ioctlsocket(s, FIONBIO, &non_blocking) == 0;
}

// Without SYN retransmissions a refused loopback connect fails at once
// instead of after about 2 s. Best effort: older systems (and Wine) refuse
// the option and keep their timing, which the bounded wait then limits.
void fail_refused_connect_at_once(SOCKET s) {
  TCP_INITIAL_RTO_PARAMETERS parameters{};
  parameters.Rtt = TCP_INITIAL_RTO_UNSPECIFIED_RTT;
  parameters.MaxSynRetransmissions = TCP_INITIAL_RTO_NO_SYN_RETRANSMISSIONS;
  DWORD returned = 0;
  ::WSAIoctl(s, SIO_TCP_INITIAL_RTO, &parameters, sizeof parameters, nullptr, 0, &returned, nullptr, nullptr);
}

// Waits for a non-blocking connect to end, at most kConnectTimeoutMs; 0 when
// it succeeded, else the error that ended it. A failed connect is reported
// in the exception set.
int finish_connect(SOCKET s) {
  fd_set writable;
  fd_set failed;
  FD_ZERO(&writable);
  FD_ZERO(&failed);
  FD_SET(s, &writable);
  FD_SET(s, &failed);
  timeval timeout{kConnectTimeoutMs / 1000, (kConnectTimeoutMs % 1000) * 1000};
  const int ready = ::select(0, nullptr, &writable, &failed, &timeout);
  if (ready == SOCKET_ERROR) return WSAGetLastError();
  if (ready == 0) return WSAETIMEDOUT;
  if (FD_ISSET(s, &writable)) return 0;
  int error = 0;
  int size = sizeof error;
  if (::getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &size) != 0) return WSAGetLastError();
  return error != 0 ? error : WSAECONNREFUSED;
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
  const SOCKET s = handle(socket);
  fail_refused_connect_at_once(s);
  if (!set_blocking(s, false)) {
    *error = error_text(WSAGetLastError());
    socket.close();
    return socket;
  }
  const sockaddr_in address = loopback(port);
  int result = ::connect(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 ? 0 : WSAGetLastError();
  if (result == WSAEWOULDBLOCK) result = finish_connect(s);
  if (result == 0 && !set_blocking(s, true)) result = WSAGetLastError();
  if (result != 0) {
    *error = error_text(result);
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

bool set_non_blocking(const Socket& socket) { return set_blocking(handle(socket), false); }

Socket accept_connection(const Socket& listener) {
  const SOCKET s = ::accept(handle(listener), nullptr, nullptr);
  if (s == INVALID_SOCKET) return Socket();
  // Accepted sockets take the listener's attributes; made sure of here, as
  // the flag's inheritance by accept is not documented.
  set_inheritable(s, false);
  return Socket(static_cast<Socket::Native>(s));
}

IoResult receive_some(const Socket& socket, char* buffer, size_t size) {
  return io_result(::recv(handle(socket), buffer, clamp_size(size), 0));
}

IoResult send_some(const Socket& socket, const char* data, size_t size) {
  return io_result(::send(handle(socket), data, clamp_size(size), 0));
}

}  // namespace utils::platform
