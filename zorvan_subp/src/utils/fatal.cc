#include "utils/fatal.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace utils {
namespace {

// Per thread: the containment is a property of the thread that runs the work.
thread_local int unit_depth = 0;
thread_local bool unit_failed = false;

}  // namespace

void fatal(std::string_view message) {
  std::fwrite(message.data(), 1, message.size(), stderr);
  std::fputc('\n', stderr);
  std::fflush(stderr);
  if (unit_depth > 0) {
    unit_failed = true;
    return;
  }
  std::abort();
}

void fatal_not_equal(std::string_view what, int64_t found, int64_t expected) {
  std::string message = "assertion `left == right` failed: ";
  message.append(what);
  message += "\n  left: " + std::to_string(found);
  message += "\n right: " + std::to_string(expected);
  fatal(message);
}

bool check_size(std::string_view what, const void* object, size_t expected) {
  // Every checked CEF structure starts with its size member.
  const size_t found = object ? *static_cast<const size_t*>(object) : 0;
  if (found == expected) return true;
  fatal_not_equal(what, static_cast<int64_t>(found), static_cast<int64_t>(expected));
  return false;
}

WorkUnit::WorkUnit() : outer_failed_(unit_failed) {
  ++unit_depth;
  unit_failed = false;
}

WorkUnit::~WorkUnit() {
  --unit_depth;
  unit_failed = outer_failed_;
}

bool WorkUnit::failed() const { return unit_failed; }

}  // namespace utils
