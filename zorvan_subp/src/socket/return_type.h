// ReturnType: the kind of a value on the return channel, one byte in memory
// and on the wire. The named kinds are 0 to 6; a received byte above 6 (only
// the host can send one) is kept as it came, and users treat it as an error.
#pragma once

#include <cstdint>
#include <ostream>
#include <string_view>

class ReturnType {
 public:
  enum Kind : uint8_t { Double = 0, Bool = 1, Str = 2, Null = 3, Array = 4, Error = 5, Eval = 6 };

  constexpr ReturnType(Kind kind) : byte_(kind) {}  // NOLINT: kinds convert implicitly

  // 0 to 6 give the kind of that number; every other value (compared as
  // unsigned, so negative ones too) gives Error.
  static constexpr ReturnType from(int32_t value) {
    return static_cast<uint32_t>(value) <= Eval ? ReturnType(static_cast<uint8_t>(value))
                                                : ReturnType(Error);
  }
  // A kind byte as received, without a range check.
  static constexpr ReturnType from_byte(uint8_t byte) { return ReturnType(byte); }

  constexpr uint8_t byte() const { return byte_; }
  constexpr bool operator==(const ReturnType&) const = default;

 private:
  constexpr explicit ReturnType(uint8_t byte) : byte_(byte) {}
  uint8_t byte_;
};

// "Double", "Bool", ... "Eval"; a byte above 6 has no name and gives "".
std::string_view name(ReturnType kind);

// The name, or "ReturnType(<byte>)" for a byte above 6.
std::ostream& operator<<(std::ostream& out, ReturnType kind);
