// Script functions whose calls go to a cef_v8handler_t.
#pragma once

#include <JavaScriptCore/JavaScript.h>

#include <string>

#include "cef/cef_capi.h"

namespace cefwork {

// A function object in `context` named `name`; it takes over the
// reference that comes with `handler` and releases it when script has no
// more use for the function.
JSObjectRef make_handler_function(JSContextRef context, std::u16string name, cef_v8handler_t* handler);

// The name and the handler (borrowed) of such a function; false for any
// other value.
bool handler_function_parts(JSContextRef context, JSValueRef value, std::u16string* name,
                            cef_v8handler_t** handler);

}  // namespace cefwork
