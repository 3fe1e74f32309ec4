// The module handle of the running executable (GetModuleHandleA(NULL) on
// Windows, the main program's handle elsewhere), for cef_main_args_t.
#pragma once

namespace utils {

void* executable_module_handle();

}  // namespace utils
