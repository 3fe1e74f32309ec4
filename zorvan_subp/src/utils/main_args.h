#pragma once

#include "cef/cef_capi.h"
#include "utils/platform/module_handle.h"

namespace utils {

// Main arguments for CEF: only the executable's module handle.
inline cef_main_args_t prepare_args() { return cef_main_args_t{executable_module_handle()}; }

}  // namespace utils
