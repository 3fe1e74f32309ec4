// The threads that fetch documents. Each runs one fetch and ends; all are
// cancelled and joined when the engine shuts down.
#pragma once

#include <functional>

namespace cefwork {

void start_load_thread(std::function<void()> work);
// Joins every load thread; callers cancel their fetches first.
void join_load_threads();

}  // namespace cefwork
