// Entry of the subprocess program that CEF starts for its child processes:
// it hands CEF the renderer application and ends with the code CEF returns.

#include <cstdlib>

#include "app/render_process_handler.h"
#include "cef/cef_capi.h"
#include "utils/main_args.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

int run() {
  const cef_main_args_t main_args = utils::prepare_args();
  // The App lives for the whole process; its first reference is never
  // released.
  static App app;
  Base::add_ref(RefCount::wrapper(&app));
  cef_enable_highdpi_support();
  const int code = cef_execute_process(&main_args, RefCount::wrapper(&app), nullptr);
  // End at once: nothing is destroyed first.
  std::_Exit(code);
}

}  // namespace

#ifdef _WIN32
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return run(); }
#else
int main() { return run(); }
#endif
