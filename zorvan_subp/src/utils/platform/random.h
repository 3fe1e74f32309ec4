// Bytes from the operating system's cryptographic random source (getrandom
// on Linux, BCryptGenRandom on Windows), for secrets that strangers must not
// guess.
#pragma once

#include <cstddef>

namespace utils::platform {

// Fills `size` bytes at `out`; false when the system cannot supply them.
bool secure_random(void* out, size_t size);

}  // namespace utils::platform
