// Authentication: answer get_auth_credentials with a user name and password,
// or refuse.

#include "browser_access.h"
#include "utils/cef_string.h"
#include "zorvan_vemo.h"

extern "C" {

ZV_EXPORT void cefvemo_auth_callback(cef_auth_callback_t* callback, const char* user_name,
                                     const char* password, int32_t cont) {
  if (!callback) return;
  // Only 1 continues; any other value refuses.
  if (cont != 1) {
    if (vemo::require(callback->cancel, "null cancel")) callback->cancel(callback);
    return;
  }
  if (!vemo::require(callback->cont, "null cont")) return;
  const utils::CefString user_string = utils::cef_string_from_c(user_name);
  const utils::CefString password_string = utils::cef_string_from_c(password);
  callback->cont(callback, user_string.get(), password_string.get());
}

}  // extern "C"
