#include "callback/packed_call.h"

#include <string>

#include "callback/callback_state.h"
#include "jni_scoped.h"
#include "packed_call_class.h"

namespace callback {
namespace {

// Defined once, on the binding thread, before the first slot that uses it is
// published; thunks read it only through such a slot.
struct PackedCallClass {
  jclass type = nullptr;  // global reference
  jmethodID call[kMaxArity + 1] = {};
};
PackedCallClass packed_call;

// Clears an exception raised by the JNI call just made; true if there was one.
bool failed(JNIEnv* env) {
  if (!env->ExceptionCheck()) return false;
  env->ExceptionClear();
  return true;
}

std::string call_descriptor(int arity) {
  std::string descriptor = "(Ljava/lang/invoke/MethodHandle;";
  descriptor.append(arity, 'J');
  return descriptor + ")J";
}

// Defines the class in the bootstrap loader, which every class can reach and
// which is never unloaded.
bool define_packed_call(JNIEnv* env) {
  if (packed_call.type) return true;
  constexpr const char* kName = "org/tessal/vemo/internal/jni/PackedCall";
  jni::LocalRef<jclass> type(env, env->DefineClass(kName, nullptr,
                                                   reinterpret_cast<const jbyte*>(kPackedCallClass),
                                                   sizeof kPackedCallClass));
  if (failed(env) || !type) return false;
  PackedCallClass defined;
  for (int arity = 0; arity <= kMaxArity; ++arity) {
    const std::string name = "call" + std::to_string(arity);
    defined.call[arity] = env->GetStaticMethodID(type.get(), name.c_str(),
                                                 call_descriptor(arity).c_str());
    if (failed(env) || !defined.call[arity]) return false;
  }
  defined.type = static_cast<jclass>(env->NewGlobalRef(type.get()));
  if (!defined.type) return false;
  packed_call = defined;
  return true;
}

jmethodID method_id(JNIEnv* env, const char* type_name, const char* name, const char* descriptor,
                    bool is_static) {
  jni::LocalRef<jclass> type(env, env->FindClass(type_name));
  if (failed(env) || !type) return nullptr;
  jmethodID id = is_static ? env->GetStaticMethodID(type.get(), name, descriptor)
                           : env->GetMethodID(type.get(), name, descriptor);
  return failed(env) ? nullptr : id;
}

}  // namespace

jobject make_packed_handle(JNIEnv* env, jobject receiver, jmethodID method, bool static_call) {
  if (!define_packed_call(env)) return nullptr;
  jmethodID set_accessible =
      method_id(env, "java/lang/reflect/AccessibleObject", "setAccessible", "(Z)V", false);
  jmethodID public_lookup = method_id(env, "java/lang/invoke/MethodHandles", "publicLookup",
                                      "()Ljava/lang/invoke/MethodHandles$Lookup;", true);
  jmethodID unreflect = method_id(env, "java/lang/invoke/MethodHandles$Lookup", "unreflect",
      "(Ljava/lang/reflect/Method;)Ljava/lang/invoke/MethodHandle;", false);
  jmethodID bind_to = method_id(env, "java/lang/invoke/MethodHandle", "bindTo",
                                "(Ljava/lang/Object;)Ljava/lang/invoke/MethodHandle;", false);
  if (!set_accessible || !public_lookup || !unreflect || !bind_to) return nullptr;

  // JNI calls ignore access modifiers; a handle made from an accessible
  // Method does too, so any method that bind found can be called this way.
  jni::LocalRef<jclass> declaring(env, static_call ? static_cast<jclass>(env->NewLocalRef(receiver))
                                                   : env->GetObjectClass(receiver));
  jni::LocalRef<jobject> reflected(
      env, env->ToReflectedMethod(declaring.get(), method, static_call ? JNI_TRUE : JNI_FALSE));
  if (failed(env) || !reflected) return nullptr;
  env->CallVoidMethod(reflected.get(), set_accessible, JNI_TRUE);
  if (failed(env)) return nullptr;
  jni::LocalRef<jclass> handles(env, env->FindClass("java/lang/invoke/MethodHandles"));
  if (failed(env) || !handles) return nullptr;
  jni::LocalRef<jobject> lookup(env, env->CallStaticObjectMethod(handles.get(), public_lookup));
  if (failed(env) || !lookup) return nullptr;
  jni::LocalRef<jobject> handle(env, env->CallObjectMethod(lookup.get(), unreflect, reflected.get()));
  if (failed(env) || !handle) return nullptr;
  if (static_call) return env->NewGlobalRef(handle.get());
  jni::LocalRef<jobject> bound(env, env->CallObjectMethod(handle.get(), bind_to, receiver));
  if (failed(env) || !bound) return nullptr;
  return env->NewGlobalRef(bound.get());
}

jlong call_packed_handle(JNIEnv* env, jobject handle, int arity, jvalue* args) {
  args[0].l = handle;
  return env->CallStaticLongMethodA(packed_call.type, packed_call.call[arity], args);
}

}  // namespace callback
