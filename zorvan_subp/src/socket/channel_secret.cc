#include "socket/channel_secret.h"

#include "utils/fatal.h"
#include "utils/platform/random.h"

ChannelSecret ChannelSecret::fresh() {
  ChannelSecret secret;
  if (!utils::platform::secure_random(secret.bytes.data(), kSize)) utils::fatal("No secure random source");
  return secret;
}

bool ChannelSecret::matches(const uint8_t* padding) const {
  uint8_t difference = 0;
  for (size_t i = 0; i < kSize; ++i) difference |= static_cast<uint8_t>(bytes[i] ^ padding[i]);
  return difference == 0;
}

std::string ChannelSecret::text() const {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  for (uint8_t byte : bytes) {
    out += kDigits[byte >> 4];
    out += kDigits[byte & 0xF];
  }
  return out;
}

std::optional<ChannelSecret> ChannelSecret::from_text(std::string_view text) {
  if (text.size() != 2 * kSize) return std::nullopt;
  auto digit = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
  };
  ChannelSecret secret;
  for (size_t i = 0; i < kSize; ++i) {
    const int high = digit(text[2 * i]), low = digit(text[2 * i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    secret.bytes[i] = static_cast<uint8_t>(high << 4 | low);
  }
  return secret;
}
