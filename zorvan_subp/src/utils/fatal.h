// Fatal stops and their one containment.
//
// A fatal condition (a missing CEF member, a structure of the wrong size, a
// failed platform call) ends the process with a short message. The only
// exception is a unit of message-loop work run by cefvemo_do_message_loop_work:
// there the Java host's handlers run inside the work and call our exports from
// Java, so between the containment and a failing export lie frames of libcef,
// of the thunk dispatcher and of the JVM. Unwinding through those frames (a C++
// exception, longjmp) is undefined and kills the JVM. Instead, while a unit is
// in progress, a fatal condition writes its message, marks the unit as failed
// and returns to its caller, which returns its neutral result at once; the
// containment reports the failure when the unit ends.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace utils {

// Writes `message` to standard error, to an attached debugger and, once
// set_fatal_log_file named one, as a line appended to that log file. Outside
// a unit of work the process then ends; inside one the unit is marked failed
// and the call returns.
void fatal(std::string_view message);

// The log file (UTF-8 path) that later fatal messages are appended to; the
// empty text names none. The engine sets its own log file when it starts.
void set_fatal_log_file(std::string_view path);

// A failed equality check naming both values, e.g. a structure size.
void fatal_not_equal(std::string_view what, int64_t found, int64_t expected);

// Checks a structure's leading size; on mismatch reports it and returns false.
bool check_size(std::string_view what, const void* object, size_t expected);

// Marks one unit of message-loop work on this thread for the duration of its
// lifetime. Units nest; each one reports only failures raised inside it.
class WorkUnit {
 public:
  WorkUnit();
  ~WorkUnit();
  WorkUnit(const WorkUnit&) = delete;
  WorkUnit& operator=(const WorkUnit&) = delete;

  // True when a fatal condition was contained during this unit.
  bool failed() const;

 private:
  bool outer_failed_;
};

}  // namespace utils
