#include "socket/incoming_connection.h"

namespace net = utils::platform;

IncomingConnection::State IncomingConnection::pump(Clock::time_point now) {
  char chunk[16 * 1024];
  // A sender that keeps writing must not keep the waiting thread here: the
  // rest is read on the next poll.
  constexpr size_t kBytesPerPump = 1 << 20;
  for (size_t taken = 0; taken < kBytesPerPump;) {
    net::IoResult result = net::receive_some(socket_, chunk, sizeof chunk);
    switch (result.status) {
      case net::IoStatus::Done:
        if (result.bytes == 0) {
          socket_.close();
          return State::Complete;
        }
        bytes_.append(chunk, result.bytes);
        taken += result.bytes;
        last_data_ = now;
        break;
      case net::IoStatus::Interrupted:
        break;
      case net::IoStatus::WouldBlock:
        return State::Reading;
      case net::IoStatus::PeerReset:
        socket_.close();
        return State::Reset;
      case net::IoStatus::Failed:
        socket_.close();
        error_ = std::move(result.error);
        return State::Failed;
    }
  }
  return State::Reading;
}
