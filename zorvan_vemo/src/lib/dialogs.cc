// JavaScript dialogs: the host's answer to an alert, confirm or prompt goes
// back through the callback that the dialog handler received.

#include "browser_access.h"
#include "zorvan_vemo.h"

extern "C" {

ZV_EXPORT void cefvemo_dialog_close(cef_jsdialog_callback_t* callback, int32_t success,
                                    const cef_string_t* user_input) {
  if (!callback || !vemo::require(callback->cont, "missing cont")) return;
  callback->cont(callback, success, user_input);
}

}  // extern "C"
