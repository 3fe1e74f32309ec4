#include "callback/binding.h"

#include <string_view>

#include "callback/callback_state.h"
#include "callback/packed_call.h"
#include "callback/thread_env.h"
#include "callback/thunk_table.h"
#include "jni_scoped.h"

namespace callback {
namespace {

// True when a method of this descriptor can take what the thunk hands over:
// one long[] in the packed form; otherwise `arity` parameters, each a 64-bit
// slot read as an integer primitive. Anything else (an object or floating
// parameter, another count, a result other than long) would make the JVM read
// arguments the thunk never passed, or return a value of another type.
bool fits_thunk(std::string_view descriptor, int arity, bool packed_args) {
  if (packed_args) return descriptor == "([J)J";
  if (descriptor.size() != static_cast<std::size_t>(arity) + 3) return false;
  if (descriptor.front() != '(' || descriptor.substr(arity + 1) != ")J") return false;
  for (char type : descriptor.substr(1, arity))
    if (std::string_view("JIZBCS").find(type) == std::string_view::npos) return false;
  return true;
}

bool is_class(JNIEnv* env, jobject object) {
  jni::LocalRef<jclass> class_class(env, env->FindClass("java/lang/Class"));
  return class_class && env->IsInstanceOf(object, class_class.get());
}

// Looks the method up once, so that a thunk call resolves nothing.
jmethodID find_method(JNIEnv* env, const MethodRequest& request) {
  if (!request.receiver) return nullptr;
  jni::Utf8Chars name(env, request.name);
  jni::Utf8Chars signature(env, request.signature);
  if (!name.get() || !signature.get()) return nullptr;

  jmethodID method = nullptr;
  if (request.static_call) {
    // A static lookup on anything but a class object is undefined in JNI.
    if (!is_class(env, request.receiver)) return nullptr;
    method = env->GetStaticMethodID(static_cast<jclass>(request.receiver), name.get(),
                                    signature.get());
  } else {
    jni::LocalRef<jclass> type(env, env->GetObjectClass(request.receiver));
    method = env->GetMethodID(type.get(), name.get(), signature.get());
  }
  if (method && !fits_thunk(signature.get(), request.arity, request.packed_args)) return nullptr;
  return method;
}

SlotUse& use_of(const CallbackSlot& slot) {
  return callback_state.use[&slot - callback_state.slots];
}

bool is_bound(const CallbackSlot& slot) { return slot.owner && !slot.retiring; }

// Deletes the references of a slot taken out of use and frees it for bind,
// once no thunk call holds it; until then it stays retiring.
void free_when_unheld(JNIEnv* env, CallbackSlot& slot) {
  if (use_of(slot).word.load(std::memory_order_acquire) & SlotUse::kHolds) return;
  env->DeleteGlobalRef(slot.owner);
  if (slot.receiver) env->DeleteGlobalRef(slot.receiver);
  if (slot.packed_handle) env->DeleteGlobalRef(slot.packed_handle);
  slot = CallbackSlot{};
}

// Takes the slot out of use: thunk calls that start from now on find it
// unbound; those already holding it finish with the binding they hold.
void release(JNIEnv* env, CallbackSlot& slot) {
  use_of(slot).word.fetch_and(~SlotUse::kBound, std::memory_order_acq_rel);
  slot.retiring = true;
  free_when_unheld(env, slot);
}

// Frees the retiring slots whose last calls have ended since.
void free_retired(JNIEnv* env) {
  for (CallbackSlot& slot : callback_state.slots)
    if (slot.retiring) free_when_unheld(env, slot);
}

}  // namespace

jlong bind(JNIEnv* env, const MethodRequest& request) {
  CallbackState& state = callback_state;
  if (!state.vm.load(std::memory_order_relaxed)) {
    JavaVM* vm = nullptr;
    if (env->GetJavaVM(&vm) == JNI_OK) state.vm.store(vm, std::memory_order_relaxed);
  }
  if (state.jni_version.load(std::memory_order_relaxed) == 0)
    state.jni_version.store(env->GetVersion(), std::memory_order_relaxed);
  if (JavaVM* vm = state.vm.load(std::memory_order_relaxed)) remember_thread_envs(vm);

  // Only arities that have a row in the thunk table.
  if (request.arity < 0 || request.arity > kMaxArity) return 0;
  const jmethodID method = find_method(env, request);
  if (!method) return 0;

  free_retired(env);
  CallbackSlot* free_slot = nullptr;
  for (CallbackSlot& slot : state.slots) {
    if (!slot.owner) {
      free_slot = &slot;
      break;
    }
  }
  if (!free_slot) return 0;

  const jobject owner = env->NewGlobalRef(request.owner);
  if (!owner) return 0;
  const jobject receiver = env->NewGlobalRef(request.receiver);
  if (!receiver) {
    env->DeleteGlobalRef(owner);
    return 0;
  }
  CallbackSlot& slot = *free_slot;
  // Without a handle the packed form makes its array through JNI instead.
  slot.packed_handle = request.packed_args
      ? make_packed_handle(env, request.receiver, method, request.static_call) : nullptr;
  slot.method = method;
  slot.receiver = receiver;
  slot.static_call = request.static_call;
  slot.packed_args = request.packed_args;
  slot.arity = request.arity;
  slot.fallback = request.fallback;
  slot.owner = owner;
  use_of(slot).word.fetch_or(SlotUse::kBound, std::memory_order_release);
  return thunk_address(request.arity, static_cast<int>(free_slot - state.slots));
}

void unbind(JNIEnv* env, jobject owner) {
  free_retired(env);
  for (CallbackSlot& slot : callback_state.slots)
    if (is_bound(slot) && env->IsSameObject(owner, slot.owner)) release(env, slot);
}

void reset(JNIEnv* env) {
  free_retired(env);
  for (CallbackSlot& slot : callback_state.slots)
    if (is_bound(slot)) release(env, slot);
}

}  // namespace callback
