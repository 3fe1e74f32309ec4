// Test-only functions of the engine work-alike. The deliverables never call
// them; tests use them to read back what the engine received and to play
// the parts of the engine that a real user would trigger.
#pragma once

#include "cef/cef_capi.h"

extern "C" {

// A copy of the settings given to the last cef_initialize, or null before
// the first one. Valid until the next cef_initialize.
CEF_EXPORT const cef_settings_t* cefwork_test_settings(void);

// Number of cef_initialize calls in this process.
CEF_EXPORT int cefwork_test_initialize_count(void);

// Posts a task that the next cef_do_message_loop_work runs, as the engine
// posts its own work (the pump is asked for work when it is external).
CEF_EXPORT void cefwork_test_post_task(void (*task)(void* arg), void* arg);

// The browser process's command line after on_before_command_line_processing,
// with one reference for the caller; null when the engine is not running.
CEF_EXPORT cef_command_line_t* cefwork_test_browser_command_line(void);

// While `manager` is not null, cef_cookie_manager_get_global_manager hands
// out `manager` (one reference added per call) instead of the engine's own,
// whether or not the engine runs. The caller keeps its own reference.
CEF_EXPORT void cefwork_test_replace_cookie_manager(cef_cookie_manager_t* manager);

}  // extern "C"
