// The return channel's kinds and wire format, byte for byte, and decoding
// of well-formed and malformed connections.

#include <gtest/gtest.h>

#include <climits>
#include <sstream>
#include <thread>

#include "socket/return_msg.h"
#include "socket/return_type.h"
#include "socket/socket_client.h"
#include "support/loopback_peer.h"

namespace {

using namespace std::string_literals;

TEST(ReturnTypeTest, FromMapsTheSevenKindsAndEverythingElseToError) {
  for (int32_t value = 0; value <= 6; ++value) EXPECT_EQ(ReturnType::from(value).byte(), value);
  for (int32_t value : {7, 255, 256, -1, INT_MIN, INT_MAX})
    EXPECT_EQ(ReturnType::from(value), ReturnType::Error) << value;
}

TEST(ReturnTypeTest, PrintsItsName) {
  std::ostringstream out;
  out << ReturnType(ReturnType::Double) << ' ' << ReturnType(ReturnType::Eval) << ' '
      << ReturnType::from_byte(9);
  EXPECT_EQ(out.str(), "Double Eval ReturnType(9)");
}

TEST(SocketClientTest, WritesHeaderTextAndOneZero) {
  struct Case {
    std::string text;
    ReturnType kind;
    std::string expected_text;
  };
  const Case cases[] = {
      {"", ReturnType::Null, ""},
      {"h\xC3\xA9llo", ReturnType::Str, "h\xC3\xA9llo"},
      {std::string(300000, 'x'), ReturnType::Array, std::string(300000, 'x')},
      // A zero byte cannot travel inside the text: it ends it.
      {"ab\0cd"s, ReturnType::Str, "ab"},
  };
  for (const Case& c : cases) {
    zvtest::RawListener listener;
    bool sent = false;
    const ChannelSecret secret = ChannelSecret::fresh();
    std::thread sender([&] { sent = socket_client(listener.port, c.text, c.kind, secret); });
    const std::string bytes = zvtest::receive_one(listener.socket);
    sender.join();
    EXPECT_TRUE(sent);
    const size_t n = c.expected_text.size();
    ASSERT_EQ(bytes.size(), 16 + n + 1);
    uint64_t length = 0;
    for (int i = 7; i >= 0; --i) length = (length << 8) | static_cast<unsigned char>(bytes[i]);
    EXPECT_EQ(length, n);
    EXPECT_EQ(static_cast<uint8_t>(bytes[8]), c.kind.byte());
    EXPECT_TRUE(secret.matches(reinterpret_cast<const uint8_t*>(bytes.data() + 9)))
        << "the padding carries the secret";
    EXPECT_EQ(bytes.substr(16, n), c.expected_text);
    EXPECT_EQ(bytes.back(), '\0');
  }
}

TEST(SocketClientTest, NoListenerGivesFalse) {
  EXPECT_FALSE(socket_client(zvtest::unused_port(), "lost", ReturnType::Str, ChannelSecret::fresh()));
}

TEST(ReadBufferTest, DecodesAndRejects) {
  struct Case {
    const char* what;
    std::string bytes;
    const char* error;  // null when the message is well formed
    uint8_t kind;
    std::string text;
  };
  const Case cases[] = {
      {"empty text, padding ignored", zvtest::header_then(0, 3, "\0"s), nullptr, 3, ""},
      {"length field not used", zvtest::header_then(99, 2, "xy\0"s), nullptr, 2, "xy"},
      {"kind above 6 kept", zvtest::header_then(1, 9, "e\0"s), nullptr, 9, "e"},
      {"nothing", "", "failed to fill whole buffer", 0, ""},
      {"short header", std::string(15, '\0'), "failed to fill whole buffer", 0, ""},
      {"header only", zvtest::header_then(0, 2, ""), "Failed to read string", 0, ""},
      {"no zero", zvtest::header_then(3, 2, "abc"), "Failed to read string", 0, ""},
      {"two zeros", zvtest::header_then(3, 2, "a\0b\0"s), "Failed to read string", 0, ""},
      {"zero twice at the end", zvtest::header_then(2, 2, "ab\0\0"s), "Failed to read string", 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ReadResult result = read_buffer(c.bytes);
    if (c.error) {
      EXPECT_FALSE(result.message);
      EXPECT_EQ(result.error, c.error);
      continue;
    }
    ASSERT_TRUE(result.message);
    EXPECT_EQ(result.message->kind.byte(), c.kind);
    EXPECT_EQ(result.message->str_value, c.text);
  }
}

TEST(ReadBufferTest, ReadsWhatEncodeWrites) {
  const std::string text = "'0,1';\"x\"";
  ReadResult result = read_buffer(encode_return_message(text, ReturnType::Array, ChannelSecret::fresh()));
  ASSERT_TRUE(result.message);
  EXPECT_EQ(result.message->kind, ReturnType::Array);
  EXPECT_EQ(result.message->str_value, text);
}

TEST(ChannelSecretTest, FreshSecretsDifferAndTravelAsText) {
  const ChannelSecret a = ChannelSecret::fresh(), b = ChannelSecret::fresh();
  EXPECT_NE(a.bytes, b.bytes);
  const std::string text = a.text();
  EXPECT_EQ(text.size(), 14u);
  const std::optional<ChannelSecret> back = ChannelSecret::from_text(text);
  ASSERT_TRUE(back);
  EXPECT_TRUE(back->matches(a.bytes.data()));
  EXPECT_FALSE(b.matches(a.bytes.data()));
  for (const char* bad : {"", "00", "0123456789abc", "0123456789abcde", "0123456789abcG", "0123456789ABCD"})
    EXPECT_FALSE(ChannelSecret::from_text(bad)) << bad;
}

}  // namespace
