#include "socket/channel_activity.h"

#include <atomic>

namespace channel_activity {
namespace {

// Senders may run on other threads (tests do): an atomic, no lock.
std::atomic<Clock::rep> last_use{0};

}  // namespace

void note() { last_use.store(Clock::now().time_since_epoch().count(), std::memory_order_relaxed); }

Clock::time_point last() {
  return Clock::time_point(Clock::duration(last_use.load(std::memory_order_relaxed)));
}

}  // namespace channel_activity
