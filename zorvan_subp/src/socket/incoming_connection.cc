#include "socket/incoming_connection.h"

#include <algorithm>

namespace net = utils::platform;

IncomingConnection::State IncomingConnection::end(State state) {
  net::close_abortively(socket_);
  return state_ = state;
}

IncomingConnection::State IncomingConnection::pump(const ChannelSecret& secret) {
  constexpr size_t kBytesPerPump = 4 << 20;
  // What a genuine sender announces is reserved at once, within reason.
  constexpr uint64_t kMaxReserve = uint64_t{256} << 20;
  char chunk[64 * 1024];
  for (size_t taken = 0; taken < kBytesPerPump && !closed();) {
    const bool header = state_ == State::Header;
    char* into = header ? header_.data() + header_bytes_ : chunk;
    const size_t room = header ? header_.size() - header_bytes_ : sizeof chunk;
    net::IoResult result = net::receive_some(socket_, into, room);
    switch (result.status) {
      case net::IoStatus::Done:
        if (result.bytes == 0) return end(header ? State::Refused : State::Complete);
        taken += result.bytes;
        if (!header) {
          text_.append(chunk, result.bytes);
          break;
        }
        header_bytes_ += result.bytes;
        if (header_bytes_ < header_.size()) break;
        if (!header_carries(header_, secret)) return end(State::Refused);
        text_.reserve(static_cast<size_t>(std::min(header_length(header_) + 1, kMaxReserve)));
        state_ = State::Text;
        break;
      case net::IoStatus::Interrupted:
        break;
      case net::IoStatus::WouldBlock:
        return state_;
      case net::IoStatus::PeerReset:
        return end(State::Refused);
      case net::IoStatus::Failed:
        if (header) return end(State::Refused);
        error_ = std::move(result.error);
        return end(State::Failed);
    }
  }
  return state_;
}
