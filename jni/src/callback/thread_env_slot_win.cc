// A Windows TLS index rather than thread_local, which MinGW emulates through
// a lookup on every access.
#include <windows.h>

#include "callback/thread_env.h"

namespace callback {
namespace {

DWORD slot = TLS_OUT_OF_INDEXES;

}  // namespace

bool create_env_slot() {
  slot = TlsAlloc();
  return slot != TLS_OUT_OF_INDEXES;
}

JNIEnv* remembered_env() { return static_cast<JNIEnv*>(TlsGetValue(slot)); }
void remember_env(JNIEnv* env) { TlsSetValue(slot, env); }

}  // namespace callback
