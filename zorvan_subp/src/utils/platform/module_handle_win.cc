#include <windows.h>

#include "utils/platform/module_handle.h"

namespace utils {

void* executable_module_handle() { return GetModuleHandleA(nullptr); }

}  // namespace utils
