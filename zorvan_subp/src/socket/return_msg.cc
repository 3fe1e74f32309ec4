#include "socket/return_msg.h"

#include <cstring>

ReturnHeader encode_return_header(uint64_t length, ReturnType kind, const ChannelSecret& secret) {
  ReturnHeader header{};
  for (int i = 0; i < 8; ++i) header[i] = static_cast<char>((length >> (8 * i)) & 0xFF);
  header[8] = static_cast<char>(kind.byte());
  std::memcpy(header.data() + kSecretOffset, secret.bytes.data(), ChannelSecret::kSize);
  return header;
}

std::string encode_return_message(std::string_view text, ReturnType kind, const ChannelSecret& secret) {
  const ReturnHeader header = encode_return_header(text.size(), kind, secret);
  std::string message(header.begin(), header.end());
  message.append(text);
  message.push_back('\0');
  return message;
}

bool header_carries(const ReturnHeader& header, const ChannelSecret& secret) {
  return secret.matches(reinterpret_cast<const uint8_t*>(header.data() + kSecretOffset));
}

ReturnType header_kind(const ReturnHeader& header) {
  return ReturnType::from_byte(static_cast<uint8_t>(header[8]));
}

uint64_t header_length(const ReturnHeader& header) {
  uint64_t length = 0;
  for (int i = 7; i >= 0; --i) length = (length << 8) | static_cast<uint8_t>(header[i]);
  return length;
}

ReadResult read_text(ReturnType kind, std::string body) {
  if (body.empty() || body.find('\0') != body.size() - 1) return {std::nullopt, "Failed to read string"};
  body.pop_back();
  return {ReturnSt{kind, std::move(body)}, {}};
}

ReadResult read_buffer(std::string bytes) {
  if (bytes.size() < kReturnHeaderSize) return {std::nullopt, "failed to fill whole buffer"};
  const ReturnType kind = ReturnType::from_byte(static_cast<uint8_t>(bytes[8]));
  bytes.erase(0, kReturnHeaderSize);
  return read_text(kind, std::move(bytes));
}
