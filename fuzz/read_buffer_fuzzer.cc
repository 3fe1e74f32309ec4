// Any bytes a local process sends to a waiting listener: read_buffer either
// decodes them into a text without a zero byte or names the fault.

#include <cstddef>
#include <cstdint>
#include <string>

#include "socket/return_msg.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  ReadResult result = read_buffer(bytes);
  if (result.message) {
    const std::string& text = result.message->str_value;
    if (result.error.size() || text.size() + 17 != size || text.find('\0') != std::string::npos ||
        result.message->kind.byte() != data[8])
      __builtin_trap();
    // What is decoded encodes to the same text and kind.
    ReadResult again = read_buffer(encode_return_message(text, result.message->kind, ChannelSecret{}));
    if (!again.message || again.message->str_value != text) __builtin_trap();
  } else if (result.error != "failed to fill whole buffer" && result.error != "Failed to read string") {
    __builtin_trap();
  }
  return 0;
}
