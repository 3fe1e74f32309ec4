#include "callback/thread_env.h"

namespace callback {
namespace {

thread_local JNIEnv* slot = nullptr;

}  // namespace

bool create_env_slot() { return true; }
JNIEnv* remembered_env() { return slot; }
void remember_env(JNIEnv* env) { slot = env; }

}  // namespace callback
