// dispatch_callback: from a thunk into the Java method bound to its slot.
//
// The thread may be any thread CEF runs on: the environment is obtained, or
// the thread attached for this one call and detached before the thunk
// returns. The call holds its slot (see callback_state.h) from before it
// reads the binding until the Java method has returned, so an unbind or reset
// on another thread, or in the handler itself, neither deletes what the call
// uses nor hands it a later binding of the slot; the call never waits for
// anything but the JVM.
//
// Nothing here clears or describes a Java exception. One already pending on
// entry means Java must not run: the thunk returns the slot's fallback. One
// thrown by the handler stays pending and the thunk returns the fallback; so
// does every later thunk on that thread until Java code has handled it (the
// JVM raises it in the Java caller once the native call during which the
// callbacks ran returns).
#include <algorithm>

#include "callback/callback_state.h"
#include "callback/packed_call.h"
#include "callback/thread_env.h"
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

// Holds the slot for one call, if it was bound when the hold was taken.
class SlotHold {
 public:
  explicit SlotHold(SlotUse& use)
      : use_(use), bound_(use.word.fetch_add(1, std::memory_order_acquire) & SlotUse::kBound) {}
  ~SlotHold() { use_.word.fetch_sub(1, std::memory_order_release); }
  SlotHold(const SlotHold&) = delete;
  SlotHold& operator=(const SlotHold&) = delete;

  bool bound() const { return bound_; }

 private:
  SlotUse& use_;
  const bool bound_;
};

// Counts the call as inside its Java method while it lasts.
class Entry {
 public:
  Entry() { callback_state.entry_count.fetch_add(1, std::memory_order_relaxed); }
  ~Entry() { callback_state.entry_count.fetch_sub(1, std::memory_order_relaxed); }
  Entry(const Entry&) = delete;
  Entry& operator=(const Entry&) = delete;
};

}  // namespace

// args[0] is spare, the thunk's arguments follow.
std::int64_t dispatch_callback(int slot_index, int arity, jvalue* args) {
  CallbackState& state = callback_state;
  if (state.enabled.load(std::memory_order_relaxed) == 0) return 0;

  const SlotHold hold(state.use[slot_index]);
  const CallbackSlot& slot = state.slots[slot_index];
  // A free or retiring slot, or the address of an earlier binding of this
  // slot with another arity: there is no method that these arguments fit.
  if (!hold.bound() || slot.arity != arity) return 0;
  const Binding binding{slot.method, slot.receiver, slot.static_call, slot.packed_args,
                        slot.arity, slot.packed_handle};
  const std::int64_t fallback = slot.fallback;

  ThreadEnv thread(state.vm.load(std::memory_order_relaxed),
                   state.jni_version.load(std::memory_order_relaxed));
  JNIEnv* env = thread.env();
  if (!env || env->ExceptionCheck()) return fallback;

  jlong result;
  {
    const Entry entry;
    result = binding.packed_args ? call_packed(env, binding, args)
                                 : call_direct(env, binding, args + 1);
  }
  return env->ExceptionCheck() ? fallback : result;
}

}  // namespace callback
