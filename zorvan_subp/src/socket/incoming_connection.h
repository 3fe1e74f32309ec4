// One accepted connection of a waiting listener, read without blocking.
// The 16-byte header comes first and is checked against the wait's secret
// before any of the text is kept, so a stranger costs at most the header's
// bytes; a connection whose header does not carry the secret is refused.
#pragma once

#include <chrono>
#include <string>

#include "socket/return_msg.h"
#include "utils/platform/socket.h"

class IncomingConnection {
 public:
  using Clock = std::chrono::steady_clock;

  enum class State {
    Header,    // the header has not arrived whole
    Text,      // the header carried the secret; the text is arriving
    Complete,  // the sender closed after a valid header: take_message()
    Refused,   // wrong secret, short header, reset: nothing to believe
    Failed,    // a read error of this host after a valid header; error()
  };

  IncomingConnection(utils::platform::Socket socket, Clock::time_point now)
      : socket_(std::move(socket)), since_(now) {}
  ~IncomingConnection() { utils::platform::close_abortively(socket_); }
  IncomingConnection(IncomingConnection&&) noexcept = default;
  IncomingConnection& operator=(IncomingConnection&&) noexcept = default;

  // Reads what has arrived (the text up to a budget, so that a sender who
  // keeps writing cannot hold the waiting thread) and returns the state.
  // Complete and Refused close the connection.
  State pump(const ChannelSecret& secret);

  // Closes the connection unread (it is dropped).
  void drop() { end(State::Refused); }

  State state() const { return state_; }
  bool has_shown_secret() const { return state_ == State::Text || state_ == State::Complete; }
  bool closed() const { return !socket_.valid(); }
  utils::platform::Socket::Native native() const { return socket_.native(); }

  // True when a header has not arrived whole within `limit`.
  bool header_overdue(Clock::duration limit, Clock::time_point now) const {
    return state_ == State::Header && now - since_ > limit;
  }
  // Time the waiting thread spent elsewhere (a nested wait, host code) does
  // not count against the sender.
  void restart_clock(Clock::time_point now) { since_ = now; }

  ReadResult take_message() { return read_text(header_kind(header_), std::move(text_)); }
  const std::string& error() const { return error_; }

 private:
  State end(State state);

  utils::platform::Socket socket_;
  ReturnHeader header_{};
  size_t header_bytes_ = 0;
  std::string text_;
  std::string error_;
  State state_ = State::Header;
  Clock::time_point since_;
};
