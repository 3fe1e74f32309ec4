#include "engine_options.h"

namespace vemo {

EngineOptions parse_options(std::string_view options) {
  EngineOptions result;
  bool first = true;
  // Every item, the version included, is split at its first "=".
  while (true) {
    const size_t end = options.find(';');
    const std::string_view item = options.substr(0, end);
    if (first) result.version = std::string(item);
    first = false;
    const size_t eq = item.find('=');
    const std::string_view key = item.substr(0, eq);
    const std::string_view value = eq == std::string_view::npos ? "" : item.substr(eq + 1);
    if (key == "cache_path") {
      result.cache_path = std::string(value);
    } else if (key == "external_message_pump") {
      result.external_message_pump = value == "true";
    }
    if (end == std::string_view::npos) break;
    options.remove_prefix(end + 1);
  }
  return result;
}

DebugSettings debug_settings(int32_t debug_port) {
  if (debug_port > 0) return {debug_port, LOGSEVERITY_INFO};
  switch (debug_port) {
    case 0: return {0, LOGSEVERITY_FATAL};
    case -1: return {0, LOGSEVERITY_VERBOSE};
    case -2: return {0, LOGSEVERITY_INFO};
    case -3: return {0, LOGSEVERITY_WARNING};
    case -4: return {0, LOGSEVERITY_ERROR};
    case -5: return {0, LOGSEVERITY_FATAL};
    default: return {0, LOGSEVERITY_INFO};
  }
}

}  // namespace vemo
