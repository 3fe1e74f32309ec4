// One accepted connection of a waiting listener, read without blocking
// until its sender closes it.
#pragma once

#include <chrono>
#include <string>

#include "utils/platform/socket.h"

class IncomingConnection {
 public:
  using Clock = std::chrono::steady_clock;

  enum class State {
    Reading,   // the sender has not closed yet
    Complete,  // the sender closed: bytes() is the whole message
    Reset,     // the sender reset the connection; nothing to decode
    Failed,    // a read error of this host; error() describes it
  };

  IncomingConnection(utils::platform::Socket socket, Clock::time_point now)
      : socket_(std::move(socket)), last_data_(now) {}

  // Reads what has arrived (up to a budget), without blocking, and returns
  // the new state.
  State pump(Clock::time_point now);

  // True when nothing arrived for longer than `limit`.
  bool idle_for(Clock::duration limit, Clock::time_point now) const { return now - last_data_ > limit; }

  // Time the waiting thread spent elsewhere (in a nested wait) does not
  // count against the sender.
  void restart_idle_clock(Clock::time_point now) { last_data_ = now; }

  std::string take_bytes() { return std::move(bytes_); }
  const std::string& error() const { return error_; }

 private:
  utils::platform::Socket socket_;
  std::string bytes_;
  std::string error_;
  Clock::time_point last_data_;
};
