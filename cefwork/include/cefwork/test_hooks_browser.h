// Test-only functions of the engine work-alike for browsers.
#pragma once

#include "cef/cef_capi.h"

extern "C" {

// Number of browser objects that exist (open, or closed with references
// still held).
CEF_EXPORT int cefwork_test_live_browsers(void);

// 1 when the browser with this identifier has been destroyed: it was closed
// and its last reference is gone.
CEF_EXPORT int cefwork_test_browser_destroyed(int identifier);

// The browser settings the browser was created with (string members are
// not kept); null for null.
CEF_EXPORT const cef_browser_settings_t* cefwork_test_browser_settings(cef_browser_t* browser);

}  // extern "C"
