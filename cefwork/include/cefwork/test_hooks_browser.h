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

// The process id of the browser's renderer, or -1 when it has none.
CEF_EXPORT int cefwork_test_renderer_pid(cef_browser_t* browser);

// One process-message round trip to the browser's renderer and back,
// through the engine's channel and task queue but no handler: sends a ping
// and runs units of work until the answer has arrived. 0 without a renderer.
CEF_EXPORT int cefwork_test_renderer_round_trip(cef_browser_t* browser);

// The number of script contexts and script values that exist in the
// browser's renderer, asked over its channel (units of work run until the
// answer arrives). 0 without a renderer.
CEF_EXPORT int cefwork_test_renderer_objects(cef_browser_t* browser, int* contexts, int* values);

// Opens the page's context menu at (x, y) as a right click does: on a later
// unit of work the context-menu handler gets on_before_context_menu, then
// run_context_menu with a callback.
CEF_EXPORT void cefwork_test_context_menu(cef_browser_t* browser, int x, int y);

}  // extern "C"
