// Entry of the subprocess program that CEF starts for its child processes.
// It hands CEF the main arguments and ends with the code CEF returns.

#include <cstdlib>

#include "cef/cef_capi.h"
#include "utils/main_args.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

int run() {
  const cef_main_args_t main_args = utils::prepare_args();
  cef_enable_highdpi_support();
  const int code = cef_execute_process(&main_args, nullptr, nullptr);
  // End at once: nothing is destroyed first.
  std::_Exit(code);
}

}  // namespace

#ifdef _WIN32
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return run(); }
#else
int main() { return run(); }
#endif
