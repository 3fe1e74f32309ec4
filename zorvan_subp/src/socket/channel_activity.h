// When this process last used the return channel. A wait spins (polls
// without blocking) for a short while after any use, so that a quick
// exchange - an answer, or the next host call of a page that calls the host
// in a loop, which arrives as an engine message and cannot wake a poll -
// is taken at once; otherwise it blocks on its sockets between units of
// work.
#pragma once

#include <chrono>

namespace channel_activity {

using Clock = std::chrono::steady_clock;

void note();
Clock::time_point last();

}  // namespace channel_activity
