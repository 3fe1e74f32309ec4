// A per-thread flag read on every callback, at the cost of a plain
// thread-local load on each platform. GCC for mingw-w64 implements
// thread_local by emulation (a call into __emutls_get_address per access);
// there the flag lives in the image's own TLS template instead, which the
// Windows loader copies for every thread (for DLLs loaded later too), and is
// found as compiled __declspec(thread) data is: the thread's TLS block of
// this image, from the TEB's TLS array at the image's _tls_index.
#pragma once

#if defined(_WIN32)
#include <windows.h>

extern "C" ULONG _tls_index;
extern "C" const IMAGE_TLS_DIRECTORY64 _tls_used;

#define ZV_THREAD_FLAG(name)                                                                    \
  __attribute__((section(".tls$ZV"))) bool name##_template = false;                            \
  inline bool& name() {                                                                         \
    char* const* blocks;                                                                        \
    asm("movq %%gs:0x58, %0" : "=r"(blocks));                                                   \
    const auto offset = reinterpret_cast<const char*>(&name##_template) -                      \
                        reinterpret_cast<const char*>(_tls_used.StartAddressOfRawData);        \
    return *reinterpret_cast<bool*>(blocks[_tls_index] + offset);                               \
  }
#else
#define ZV_THREAD_FLAG(name)                                                                    \
  thread_local bool name##_value __attribute__((tls_model("initial-exec"))) = false;            \
  inline bool& name() { return name##_value; }
#endif
