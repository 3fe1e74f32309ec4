// Where a fatal stop's message goes besides standard error, which a GUI
// process (javaw) does not have: a debugger or system log viewer, and a file.
#pragma once

#include <string>
#include <string_view>

namespace utils::platform {

// Hands `text` to an attached debugger (OutputDebugStringA on Windows;
// nothing elsewhere).
void write_to_debugger(const std::string& text);

// Appends `text` to the file at the UTF-8 path `path`, creating it when
// missing and sharing it with other writers; false when that fails.
bool append_to_file(const std::string& path, std::string_view text);

}  // namespace utils::platform
