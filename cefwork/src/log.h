// The engine's log: lines written to settings.log_file at or above
// settings.log_severity.
#pragma once

#include <string_view>

#include "cef/cef_capi.h"

namespace cefwork {

void log_open(std::string_view path, cef_log_severity_t severity);
void log_close();
bool log_enabled(cef_log_severity_t severity);
void log(cef_log_severity_t severity, std::string_view message);

}  // namespace cefwork
