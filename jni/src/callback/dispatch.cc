// dispatch_callback: from a thunk into the Java method bound to its slot.
//
// The thread may be any thread CEF runs on: the environment is obtained, or
// the thread attached for this one call. Nothing here clears or describes a
// Java exception: one thrown by the handler stays pending, the thunk returns
// the slot's fallback, and so does every later thunk on that thread until
// Java code has handled it (the JVM raises it in the Java caller once the
// native call during which the callbacks ran returns).
//
// Asking the JVM whether an exception is pending costs a thread-state
// transition, about as much as a sixth of the call itself, so it is asked only
// when one can be pending. On entry that is when an earlier callback on this
// thread left its handler's exception pending: in this process only handlers
// leave exceptions pending in native code, as the natives skip their export
// when a JNI call fails. After the call it is when the call returned 0, which
// is what the JVM's Call<Type>Method functions return when the method
// completed by throwing.
#include <algorithm>

#include "callback/callback_state.h"
#include "callback/packed_call.h"
#include "callback/thread_flag.h"
#include "callback/thunk_table.h"
#include "jni_scoped.h"

namespace callback {
namespace {

// Set when a handler's exception was left pending on this thread; cleared by
// the next callback that finds it handled.
ZV_THREAD_FLAG(exception_left)

struct Binding {
  jmethodID method;
  jobject receiver;
  bool static_call;
  bool packed_args;
  int arity;
  jobject packed_handle;
};

jlong call_direct(JNIEnv* env, const Binding& b, const jvalue* args) {
  if (b.static_call)
    return env->CallStaticLongMethodA(static_cast<jclass>(b.receiver), b.method, args);
  return env->CallLongMethodA(b.receiver, b.method, args);
}

// The arguments as one new long[], made by Java code when the slot has a
// handle for it (see packed_call.h) and otherwise here. When the array cannot
// be made the JVM's exception is pending and the call is skipped, returning 0
// like a call that threw. Filling an array of exactly `arity` elements cannot
// fail.
jlong call_packed(JNIEnv* env, const Binding& b, jvalue* args) {
  if (b.packed_handle) return call_packed_handle(env, b.packed_handle, b.arity, args);
  jni::LocalRef<jlongArray> array(env, env->NewLongArray(b.arity));
  if (!array) return 0;
  if (b.arity > 0) {
    jlong values[kMaxArity];
    std::transform(args + 1, args + 1 + b.arity, values, [](const jvalue& v) { return v.j; });
    env->SetLongArrayRegion(array.get(), 0, b.arity, values);
  }
  const jvalue packed{.l = array.get()};
  return call_direct(env, b, &packed);
}

}  // namespace

// args[0] is spare, the thunk's arguments follow.
std::int64_t dispatch_callback(int slot_index, int arity, jvalue* args) {
  CallbackState& state = callback_state;
  if (state.enabled.load(std::memory_order_relaxed) == 0) return 0;

  CallbackSlot& slot = state.slots[slot_index];
  // A free slot, or the address of an earlier binding of this slot with
  // another arity: there is no method that these arguments fit.
  if (!load_owner(slot)) return 0;
  const Binding binding{slot.method, slot.receiver, slot.static_call != 0,
                        slot.packed_args != 0, slot.arity, slot.packed_handle};
  const std::int64_t fallback = slot.fallback;
  if (binding.arity != arity || !binding.method || !binding.receiver) return 0;

  jni::ThreadEnv thread(state.vm.load(std::memory_order_relaxed),
                        state.jni_version.load(std::memory_order_relaxed));
  JNIEnv* env = thread.env();
  if (!env) return fallback;
  // Java must not run while an exception is pending on this thread.
  if (exception_left()) {
    if (env->ExceptionCheck()) return fallback;
    exception_left() = false;
  }

  auto& entries = state.entry_count;
  entries.store(entries.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed);
  const jlong result = binding.packed_args ? call_packed(env, binding, args)
                                           : call_direct(env, binding, args + 1);
  entries.store(entries.load(std::memory_order_relaxed) - 1, std::memory_order_relaxed);

  if (result == 0 && env->ExceptionCheck()) {
    exception_left() = true;
    return fallback;
  }
  return result;
}

}  // namespace callback
