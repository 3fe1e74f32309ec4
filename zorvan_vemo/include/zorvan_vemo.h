// Exported C API of the engine bridge library zorvan_vemo_52013.
// Pointers cross the JNI bridge as 64-bit integers; texts are NUL-terminated
// UTF-8 (or the JVM's modified UTF-8), null reading as empty text.
#pragma once

#include <cstdint>

#include "cef/cef_capi.h"

#if defined(_WIN32) && defined(ZV_BUILDING_VEMO)
#define ZV_EXPORT __declspec(dllexport)
#elif defined(_WIN32)
#define ZV_EXPORT __declspec(dllimport)
#else
#define ZV_EXPORT __attribute__((visibility("default")))
#endif

extern "C" {

// Engine lifecycle.
ZV_EXPORT void cefvemo_init(cef_app_t* app, const char* engine_dir, const char* options,
                            int32_t debug_port);
ZV_EXPORT int32_t cefvemo_do_message_loop_work();
ZV_EXPORT void cefvemo_shutdown();
ZV_EXPORT void cefvemo_set_command(cef_command_line_t* command_line, const char* name,
                                   const char* value);

}  // extern "C"
