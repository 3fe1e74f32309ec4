#include "utils/fatal.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <mutex>
#include <string>

#include "utils/platform/diagnostic_output.h"

namespace utils {
namespace {

// Per thread: the containment is a property of the thread that runs the work.
thread_local int unit_depth = 0;
thread_local bool unit_failed = false;

// Process-wide and never destroyed, so that a fatal stop during exit still
// finds them. The lock also keeps the lines of concurrent stops apart.
struct LogTarget {
  std::mutex lock;
  std::string path;
};
LogTarget& log_target() {
  static LogTarget* target = new LogTarget;
  return *target;
}

// "[MMDD/HHMMSS.mmm:FATAL:zorvan] message" with the time in UTC.
std::string log_line(std::string_view message) {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const auto millis =
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  char stamp[32] = "";
  if (const std::tm* utc = std::gmtime(&seconds)) {  // under the lock
    std::snprintf(stamp, sizeof stamp, "%02d%02d/%02d%02d%02d.%03d", utc->tm_mon + 1, utc->tm_mday,
                  utc->tm_hour, utc->tm_min, utc->tm_sec, static_cast<int>(millis));
  }
  std::string line = "[";
  line += stamp;
  line += ":FATAL:zorvan] ";
  line.append(message);
  line += '\n';
  return line;
}

}  // namespace

void set_fatal_log_file(std::string_view path) {
  LogTarget& target = log_target();
  std::lock_guard<std::mutex> hold(target.lock);
  target.path.assign(path);
}

void fatal(std::string_view message) {
  {
    LogTarget& target = log_target();
    std::lock_guard<std::mutex> hold(target.lock);
    std::fwrite(message.data(), 1, message.size(), stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
    const std::string line = log_line(message);
    platform::write_to_debugger(line);
    if (!target.path.empty()) platform::append_to_file(target.path, line);
  }
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
