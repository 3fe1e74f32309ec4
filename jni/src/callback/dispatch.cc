// dispatch_callback: from a thunk into the Java method bound to its slot.
//
// The thread may be any thread CEF runs on: the environment is obtained, or
// the thread attached for this one call. Nothing here clears or describes a
// Java exception: one thrown by the handler stays pending, the thunk returns
// the slot's fallback, and so does every later thunk on that thread until
// Java code has handled it (the JVM raises it in the Java caller once the
// native call during which the callbacks ran returns).
#include <algorithm>

#include "callback/callback_state.h"
#include "callback/thunk_table.h"
#include "jni_scoped.h"

namespace callback {
namespace {

struct Binding {
  jmethodID method;
  jobject receiver;
  bool static_call;
  bool packed_args;
  int arity;
};

jlong call_direct(JNIEnv* env, const Binding& b, const jvalue* args) {
  if (b.static_call)
    return env->CallStaticLongMethodA(static_cast<jclass>(b.receiver), b.method, args);
  return env->CallLongMethodA(b.receiver, b.method, args);
}

// The arguments as one long[]; the call is skipped when the array cannot be
// made or filled, which leaves the JVM's exception pending.
jlong call_packed(JNIEnv* env, const Binding& b, const jvalue* args) {
  jni::LocalRef<jlongArray> array(env, env->NewLongArray(b.arity));
  if (!array) return 0;
  if (b.arity > 0) {
    jlong values[kMaxArity];
    std::transform(args, args + b.arity, values, [](const jvalue& v) { return v.j; });
    env->SetLongArrayRegion(array.get(), 0, b.arity, values);
    if (env->ExceptionCheck()) return 0;
  }
  const jvalue packed{.l = array.get()};
  return call_direct(env, b, &packed);
}

}  // namespace

std::int64_t dispatch_callback(int slot_index, int arity, const jvalue* args) {
  CallbackState& state = callback_state;
  if (state.enabled.load(std::memory_order_relaxed) == 0) return 0;

  CallbackSlot& slot = state.slots[slot_index];
  // A free slot, or the address of an earlier binding of this slot with
  // another arity: there is no method that these arguments fit.
  if (!load_owner(slot)) return 0;
  const Binding binding{slot.method, slot.receiver, slot.static_call != 0,
                        slot.packed_args != 0, slot.arity};
  const std::int64_t fallback = slot.fallback;
  if (binding.arity != arity || !binding.method || !binding.receiver) return 0;

  jni::ThreadEnv thread(state.vm.load(std::memory_order_relaxed),
                        state.jni_version.load(std::memory_order_relaxed));
  JNIEnv* env = thread.env();
  if (!env) return fallback;
  // Java must not run while an exception is pending on this thread.
  if (env->ExceptionCheck()) return fallback;

  auto& entries = state.entry_count;
  entries.store(entries.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed);
  const jlong result = binding.packed_args ? call_packed(env, binding, args)
                                           : call_direct(env, binding, args);
  entries.store(entries.load(std::memory_order_relaxed) - 1, std::memory_order_relaxed);

  return env->ExceptionCheck() ? fallback : result;
}

}  // namespace callback
