#include "socket/socket_client.h"

#include "socket/return_msg.h"
#include "utils/fatal.h"
#include "utils/platform/socket.h"

namespace net = utils::platform;

bool socket_client(uint16_t port, std::string value, ReturnType kind) {
  std::string error;
  net::Socket connection = net::connect_loopback(port, &error);
  if (!connection.valid()) return false;

  const size_t zero = value.find('\0');
  if (zero != std::string::npos) value.resize(zero);
  const std::string message = encode_return_message(value, kind);

  size_t written = 0;
  while (written < message.size()) {
    net::IoResult result = net::send_some(connection, message.data() + written, message.size() - written);
    switch (result.status) {
      case net::IoStatus::Done:
        if (result.bytes == 0) {
          utils::fatal("Failed to write buffer: failed to write whole buffer");
          return false;
        }
        written += result.bytes;
        break;
      case net::IoStatus::Interrupted:
      case net::IoStatus::WouldBlock:
        break;
      case net::IoStatus::PeerReset:
        return false;
      case net::IoStatus::Failed:
        utils::fatal("Failed to write buffer: " + result.error);
        return false;
    }
  }
  return true;
}
