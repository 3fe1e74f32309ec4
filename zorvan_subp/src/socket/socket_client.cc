#include "socket/socket_client.h"

#include <algorithm>

#include "socket/channel_activity.h"
#include "socket/return_msg.h"
#include "utils/fatal.h"
#include "utils/platform/socket.h"

namespace net = utils::platform;

namespace {

// Writes all `size` bytes; false when the peer went away.
bool write_all(const net::Socket& connection, const char* data, size_t size) {
  size_t written = 0;
  while (written < size) {
    net::IoResult result = net::send_some(connection, data + written, size - written);
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

// The header goes out with the start of the text, so that the receiver
// sees it right after the connection is made; a large text is then written
// from `value` itself rather than copied.
constexpr size_t kFirstWrite = 64 * 1024;

}  // namespace

bool socket_client(uint16_t port, std::string value, ReturnType kind, const ChannelSecret& secret) {
  const size_t zero = value.find('\0');
  if (zero != std::string::npos) value.resize(zero);
  const ReturnHeader header = encode_return_header(value.size(), kind, secret);
  const size_t text_and_zero = value.size() + 1;  // c_str() holds the zero
  const size_t head_text = std::min(text_and_zero, kFirstWrite);
  std::string head(header.begin(), header.end());
  head.append(value.c_str(), head_text);

  std::string error;
  net::Socket connection = net::connect_loopback(port, &error);
  if (!connection.valid()) return false;
  net::set_no_delay(connection);
  channel_activity::note();
  return write_all(connection, head.data(), head.size()) &&
         write_all(connection, value.c_str() + head_text, text_and_zero - head_text);
}
