// Test-only functions of the work-alike's V8 API and process messages.
#pragma once

#include "cef/cef_capi.h"

extern "C" {

// A new JavaScript context in the calling process, with `window` as its
// global object, as the renderer makes one for a main-frame document but
// belonging to no browser or frame. One reference for the caller.
CEF_EXPORT cef_v8context_t* cefwork_test_create_v8context(void);

// Number of cef_v8value_t objects alive in this process.
CEF_EXPORT int cefwork_test_live_v8values(void);

// Number of cef_process_message_t and cef_list_value_t objects alive.
CEF_EXPORT int cefwork_test_live_process_messages(void);
CEF_EXPORT int cefwork_test_live_list_values(void);

}  // extern "C"
