// BCryptGenRandom behind utils/platform/random.h.

#include <windows.h>
#include <bcrypt.h>

#include <climits>

#include "utils/platform/random.h"

namespace utils::platform {

bool secure_random(void* out, size_t size) {
  auto* at = static_cast<unsigned char*>(out);
  while (size > 0) {
    const ULONG chunk = size > ULONG_MAX ? ULONG_MAX : static_cast<ULONG>(size);
    if (BCryptGenRandom(nullptr, at, chunk, BCRYPT_USE_SYSTEM_PREFERRED_RNG) != 0) return false;
    at += chunk;
    size -= chunk;
  }
  return true;
}

}  // namespace utils::platform
