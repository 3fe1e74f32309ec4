#include "socket/incoming_connection.h"

namespace net = utils::platform;

IncomingConnection::State IncomingConnection::pump(Clock::time_point now) {
  char chunk[16 * 1024];
  for (;;) {
    net::IoResult result = net::receive_some(socket_, chunk, sizeof chunk);
    switch (result.status) {
      case net::IoStatus::Done:
        if (result.bytes == 0) {
          socket_.close();
          return State::Complete;
        }
        bytes_.append(chunk, result.bytes);
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
}
