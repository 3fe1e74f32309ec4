// IPv4 loopback TCP for the return channel: the only place that knows the
// platform's socket API (BSD sockets or Winsock 2). Socket owns one socket
// and closes it once; the functions below are thin calls with the results
// the channel needs. No socket is inherited by child processes. On Windows
// the socket library is started once per process (version 2.2) before the
// first socket is made and never cleaned up: the code runs inside DLLs,
// whose static destructors run under the loader lock, where Winsock may not
// be called; process exit releases it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace utils::platform {

class Socket {
 public:
  // Wide enough for a Winsock SOCKET and a POSIX descriptor; -1 is invalid
  // on both.
  using Native = std::intptr_t;
  static constexpr Native kInvalid = -1;

  Socket() = default;
  explicit Socket(Native handle) : handle_(handle) {}
  ~Socket() { close(); }
  Socket(Socket&& other) noexcept : handle_(other.handle_) { other.handle_ = kInvalid; }
  Socket& operator=(Socket&& other) noexcept;
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;

  bool valid() const { return handle_ != kInvalid; }
  Native native() const { return handle_; }
  void close();

 private:
  Native handle_ = kInvalid;
};

enum class IoStatus {
  Done,         // `bytes` were transferred; 0 bytes read means the peer closed
  WouldBlock,   // non-blocking socket with nothing to do now
  Interrupted,  // a signal interrupted the call; repeat it
  PeerReset,    // the peer reset or abandoned the connection
  Failed,       // any other error, described by `error`
};

struct IoResult {
  IoStatus status = IoStatus::Done;
  size_t bytes = 0;
  std::string error;
};

// The longest a loopback connect may take before it is given up.
inline constexpr int kConnectTimeoutMs = 500;

// A blocking TCP connection to 127.0.0.1:port; invalid (with `error` set)
// when none can be made. A refused or reset connect fails at once; one that
// has not completed after kConnectTimeoutMs fails then (Windows retries a
// refused loopback connect for about 2 s; Linux drops the SYNs sent to a
// full listen queue and retries them for minutes).
Socket connect_loopback(uint16_t port, std::string* error);

// A listener bound to 127.0.0.1 on a port the system picks; invalid (with
// `error` set) when binding or listening fails.
Socket listen_loopback(int backlog, std::string* error);

// The local port of a bound socket; false when the system cannot tell.
bool local_port(const Socket& socket, uint16_t* port);

// Switches the socket to non-blocking mode.
bool set_non_blocking(const Socket& socket);

// One waiting connection of a listener, or an invalid socket when there is
// none (or accepting failed for another reason).
Socket accept_connection(const Socket& listener);

IoResult receive_some(const Socket& socket, char* buffer, size_t size);
// Never raises SIGPIPE: a peer that went away is reported as PeerReset.
IoResult send_some(const Socket& socket, const char* data, size_t size);

}  // namespace utils::platform
