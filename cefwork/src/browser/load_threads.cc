#include "browser/load_threads.h"

#include <atomic>
#include <list>
#include <memory>
#include <mutex>
#include <thread>

namespace cefwork {
namespace {

struct LoadThread {
  std::thread thread;
  std::shared_ptr<std::atomic<bool>> done = std::make_shared<std::atomic<bool>>(false);
};

std::mutex threads_mutex;
std::list<LoadThread> threads;

// Joins the threads that have finished. Called with the mutex held.
void reap_finished() {
  for (auto it = threads.begin(); it != threads.end();) {
    if (it->done->load()) {
      it->thread.join();
      it = threads.erase(it);
    } else {
      ++it;
    }
  }
}

}  // namespace

void start_load_thread(std::function<void()> work) {
  std::lock_guard lock(threads_mutex);
  reap_finished();
  LoadThread& t = threads.emplace_back();
  t.thread = std::thread([work = std::move(work), done = t.done] {
    work();
    done->store(true);
  });
}

void join_load_threads() {
  std::list<LoadThread> all;
  {
    std::lock_guard lock(threads_mutex);
    all.swap(threads);
  }
  for (auto& t : all) t.thread.join();
}

}  // namespace cefwork
