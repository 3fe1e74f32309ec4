#include <dlfcn.h>

#include "utils/platform/module_handle.h"

namespace utils {

void* executable_module_handle() {
  // dlopen(NULL) yields the main program; the handle is taken once and kept
  // for the life of the process, like a Windows module handle.
  static void* const handle = dlopen(nullptr, RTLD_LAZY | RTLD_NOLOAD);
  return handle;
}

}  // namespace utils
