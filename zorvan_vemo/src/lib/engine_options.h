// Engine settings derived from the arguments of cefvemo_init: the option
// string ("version;key=value;...") and the debug-port argument.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "cef/cef_capi.h"

namespace vemo {

struct EngineOptions {
  std::string version;                    // first item, names the subprocess program
  bool external_message_pump = true;      // "external_message_pump", only "true" turns it on
  std::optional<std::string> cache_path;  // "cache_path", last occurrence wins
};

EngineOptions parse_options(std::string_view options);

struct DebugSettings {
  int remote_debugging_port;
  cef_log_severity_t log_severity;
};

DebugSettings debug_settings(int32_t debug_port);

}  // namespace vemo
