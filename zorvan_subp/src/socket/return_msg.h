// The wire format of one return message and its decoding.
//
// One TCP connection carries one message: the 16-byte ReturnMsg header
// (length as 8 little-endian bytes, the kind byte, 7 bytes of padding that
// carry the receiving wait's secret), the text in UTF-8 and one zero byte.
// The receiver reads to the end of the connection and does not rely on
// `length`.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "socket/channel_secret.h"
#include "socket/return_type.h"

// The header as its raw 16-byte image: length first, then the kind.
struct ReturnMsg {
  uint64_t length;  // text bytes, without the terminating zero
  ReturnType kind;
  uint8_t padding[7];  // the secret of the wait the message is for
};
static_assert(sizeof(ReturnMsg) == 16);

inline constexpr size_t kReturnHeaderSize = sizeof(ReturnMsg);
inline constexpr size_t kSecretOffset = 9;
static_assert(kSecretOffset + ChannelSecret::kSize == kReturnHeaderSize);

// A decoded message. `kind` may hold a byte above 6 as received.
struct ReturnSt {
  ReturnType kind = ReturnType::Null;
  std::string str_value;  // the text, without its terminating zero
};

using ReturnHeader = std::array<char, kReturnHeaderSize>;

ReturnHeader encode_return_header(uint64_t length, ReturnType kind, const ChannelSecret& secret);

// The complete message for `text` (which must hold no zero byte): header,
// text and terminating zero.
std::string encode_return_message(std::string_view text, ReturnType kind, const ChannelSecret& secret);

// True when the header's padding is `secret` (compared in constant time).
bool header_carries(const ReturnHeader& header, const ChannelSecret& secret);
ReturnType header_kind(const ReturnHeader& header);
uint64_t header_length(const ReturnHeader& header);

struct ReadResult {
  std::optional<ReturnSt> message;
  // Set when the bytes are malformed: "failed to fill whole buffer" (fewer
  // than 16 bytes) or "Failed to read string" (the text is not terminated by
  // exactly one zero byte, the last one).
  std::string_view error;
};

// Decodes the bytes of one connection. The length field and the padding are
// not examined; the kind byte is kept as received.
ReadResult read_buffer(std::string bytes);

// Decodes what followed a header of `kind`: the text and its one zero byte.
ReadResult read_text(ReturnType kind, std::string body);
