#include "socket/return_msg.h"

#include <cstring>

std::string encode_return_message(std::string_view text, ReturnType kind) {
  std::string message(kReturnHeaderSize + text.size() + 1, '\0');
  uint64_t length = text.size();
  for (int i = 0; i < 8; ++i) message[i] = static_cast<char>((length >> (8 * i)) & 0xFF);
  message[8] = static_cast<char>(kind.byte());
  std::memcpy(message.data() + kReturnHeaderSize, text.data(), text.size());
  return message;
}

ReadResult read_buffer(std::string bytes) {
  if (bytes.size() < kReturnHeaderSize) return {std::nullopt, "failed to fill whole buffer"};
  const ReturnType kind = ReturnType::from_byte(static_cast<uint8_t>(bytes[8]));
  const std::string_view text(bytes.data() + kReturnHeaderSize, bytes.size() - kReturnHeaderSize);
  if (text.empty() || text.find('\0') != text.size() - 1)
    return {std::nullopt, "Failed to read string"};
  bytes.erase(0, kReturnHeaderSize);
  bytes.pop_back();
  return {ReturnSt{kind, std::move(bytes)}, {}};
}
