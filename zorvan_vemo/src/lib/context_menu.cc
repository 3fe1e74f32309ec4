// Context menus: the host closes a menu it was asked to run through the
// callback that run_context_menu received.

#include "browser_access.h"
#include "zorvan_vemo.h"

extern "C" {

ZV_EXPORT void cefvemo_context_menu_cancel(cef_run_context_menu_callback_t* callback) {
  if (!callback || !vemo::require(callback->cancel, "missing cancel")) return;
  callback->cancel(callback);
}

}  // extern "C"
