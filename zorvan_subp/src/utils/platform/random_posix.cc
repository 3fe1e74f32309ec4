// getrandom behind utils/platform/random.h.

#include <sys/random.h>

#include <cerrno>

#include "utils/platform/random.h"

namespace utils::platform {

bool secure_random(void* out, size_t size) {
  auto* at = static_cast<unsigned char*>(out);
  while (size > 0) {
    const ssize_t n = ::getrandom(at, size, 0);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    at += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

}  // namespace utils::platform
