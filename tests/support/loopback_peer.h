// The other end of the return channel in tests: raw connections that send
// exactly the bytes a test wants, and a listener that takes one message.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "utils/platform/socket.h"

namespace zvtest {

// A listener on 127.0.0.1 with its port; fails the test when none can be made.
struct RawListener {
  RawListener();
  utils::platform::Socket socket;
  uint16_t port = 0;
};

// Accepts one connection (blocking) and reads it to its end.
std::string receive_one(const utils::platform::Socket& listener);

// A connection to 127.0.0.1:port that has sent `bytes` and stays open.
utils::platform::Socket connect_and_send(uint16_t port, std::string_view bytes);

// A port on which nothing listens (one the system just handed out and took back).
uint16_t unused_port();

// The 16-byte header followed by `rest`, with padding bytes of 0xAB.
std::string header_then(uint64_t length, uint8_t kind, std::string_view rest);

}  // namespace zvtest
