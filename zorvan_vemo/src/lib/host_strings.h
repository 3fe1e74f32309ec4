// Text that leaves the library: a user-free UTF-8 string, allocated before
// anything else so it is never null, filled from UTF-16, owned by the caller
// who frees it once with cefvemo_cef_string_free.
#pragma once

#include "cef/cef_capi.h"
#include "utils/cef_string.h"

namespace vemo {

// The text of a CEF string (empty for null) as a string for the caller.
inline cef_string_userfree_utf8_t to_host(const cef_string_t* text) {
  utils::UserFree8 result;
  result.assign(text);
  return result.release();
}

}  // namespace vemo
