// ChannelSecret: what tells a wait's genuine peer from any other local
// process. Every wait has one, carried in the 7 padding bytes of each
// message to its listener; the peer learns it only over channels strangers
// cannot read (a process message, or an Eval request that itself carried
// the pending call's secret). Messages without it are not believed.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct ChannelSecret {
  static constexpr size_t kSize = 7;  // the padding of the message header
  std::array<uint8_t, kSize> bytes{};

  // A new secret from the system's cryptographic source. Without one the
  // process stops ("No secure random source").
  static ChannelSecret fresh();

  // Compares in constant time with the kSize bytes at `padding`.
  bool matches(const uint8_t* padding) const;

  // As it travels in process messages: 14 lower-case hexadecimal digits.
  std::string text() const;
  static std::optional<ChannelSecret> from_text(std::string_view text);
};
