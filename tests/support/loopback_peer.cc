#include "support/loopback_peer.h"

#include <gtest/gtest.h>

namespace net = utils::platform;

namespace zvtest {

RawListener::RawListener() {
  std::string error;
  socket = net::listen_loopback(16, &error);
  EXPECT_TRUE(socket.valid()) << error;
  EXPECT_TRUE(net::local_port(socket, &port));
}

std::string receive_one(const net::Socket& listener) {
  net::Socket connection = net::accept_connection(listener);
  EXPECT_TRUE(connection.valid());
  std::string bytes;
  char chunk[4096];
  for (;;) {
    net::IoResult result = net::receive_some(connection, chunk, sizeof chunk);
    if (result.status == net::IoStatus::Interrupted) continue;
    if (result.status != net::IoStatus::Done || result.bytes == 0) break;
    bytes.append(chunk, result.bytes);
  }
  return bytes;
}

net::Socket connect_and_send(uint16_t port, std::string_view bytes) {
  std::string error;
  net::Socket connection = net::connect_loopback(port, &error);
  EXPECT_TRUE(connection.valid()) << error;
  size_t sent = 0;
  while (connection.valid() && sent < bytes.size()) {
    net::IoResult result = net::send_some(connection, bytes.data() + sent, bytes.size() - sent);
    if (result.status == net::IoStatus::Done) sent += result.bytes;
    else if (result.status != net::IoStatus::Interrupted) break;
  }
  EXPECT_EQ(sent, bytes.size());
  return connection;
}

uint16_t unused_port() {
  RawListener listener;
  return listener.port;  // closed when the listener goes
}

std::string header_then(uint64_t length, uint8_t kind, std::string_view rest) {
  std::string bytes(16, '\xAB');
  for (int i = 0; i < 8; ++i) bytes[i] = static_cast<char>((length >> (8 * i)) & 0xFF);
  bytes[8] = static_cast<char>(kind);
  bytes.append(rest);
  return bytes;
}

}  // namespace zvtest
