// Diagnostic output on POSIX: no debugger channel; O_APPEND writes.

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "utils/platform/diagnostic_output.h"

namespace utils::platform {

void write_to_debugger(const std::string&) {}

bool append_to_file(const std::string& path, std::string_view text) {
  const int file = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  if (file < 0) return false;
  bool ok = true;
  while (ok && !text.empty()) {
    const ssize_t written = ::write(file, text.data(), text.size());
    if (written > 0) text.remove_prefix(static_cast<size_t>(written));
    else ok = written < 0 && errno == EINTR;
  }
  ::close(file);
  return ok;
}

}  // namespace utils::platform
