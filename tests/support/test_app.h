// An application table like the Java host's: on_before_command_line_processing
// may add switches through cefvemo_set_command, and a browser-process handler
// counts context initialisation and pump requests.
#pragma once

#include <functional>
#include <string>

#include "support/test_object.h"

namespace zvtest {

struct TestProcessHandler : TestObject<cef_browser_process_handler_t> {
  int context_initialized = 0;
  int pump_requests = 0;
  TestProcessHandler();
};

struct TestApp : TestObject<cef_app_t> {
  TestProcessHandler handler;
  std::function<void(cef_command_line_t*)> on_command_line;
  int command_line_calls = 0;
  TestApp();
};

// The engine directory of the build, holding the subprocess program.
std::string engine_dir();

// Runs `units` units of message-loop work.
void pump(int units = 10);

// Runs message-loop work until `done` holds, for at most `seconds`; false
// when it never did. Sleeps a little between units, as a host's event loop
// would while waiting for the network.
bool pump_until(const std::function<bool()>& done, int seconds = 30);

}  // namespace zvtest
