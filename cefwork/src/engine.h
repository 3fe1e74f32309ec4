// The browser-process engine state of the work-alike: the settings it was
// started with, the application and its browser-process handler, and the
// UI-thread task queue that cef_do_message_loop_work drains.
#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "cef/cef_capi.h"

namespace cefwork {

class CommandLine;

// The arguments this process was started with.
std::vector<std::string> process_argv();

class Engine {
 public:
  static Engine& get();

  bool running() const { return running_; }
  const cef_settings_t& settings() const { return settings_; }
  cef_app_t* app() const { return app_; }
  cef_browser_process_handler_t* browser_process_handler() const { return process_handler_; }
  CommandLine* command_line() const { return command_line_; }
  std::string setting_utf8(const cef_string_t& member) const;

  void start(const cef_settings_t& settings, cef_app_t* app);
  void stop();

  // Posts a task for the next unit of work; thread-safe. With the external
  // pump the browser-process handler is told that work is due.
  void post(std::function<void()> task);
  // Runs one unit of work: the tasks pending when it starts and one round of
  // every poller (sources of work outside the queue, such as child
  // processes).
  void run_unit();
  int add_poller(std::function<void()> poller);
  void remove_poller(int id);

  // Every cef_initialize of the process, for the test hooks.
  int initialize_count = 0;

 private:
  Engine() = default;
  void copy_settings(const cef_settings_t& from);
  void clear_settings();

  bool running_ = false;
  cef_settings_t settings_{};
  cef_app_t* app_ = nullptr;
  cef_browser_process_handler_t* process_handler_ = nullptr;
  CommandLine* command_line_ = nullptr;

  std::mutex mutex_;
  std::vector<std::function<void()>> tasks_;
  std::vector<std::pair<int, std::function<void()>>> pollers_;
  int next_poller_ = 1;
};

}  // namespace cefwork
