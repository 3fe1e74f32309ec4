// Natives of org.tessal.vemo.internal.CallbackExt. None uses its class or
// object parameter, so the Java host may declare them static or not.
#include <jni.h>

#include "callback/binding.h"
#include "callback/callback_state.h"

using callback::callback_state;

extern "C" {

JNIEXPORT jlong JNICALL Java_org_tessal_vemo_internal_CallbackExt_bind(
    JNIEnv* env, jobject, jobject owner, jobject receiver, jstring name, jstring signature,
    jint arity, jboolean static_call, jboolean packed_args, jlong fallback) {
  return callback::bind(env, {owner, receiver, name, signature, arity, static_call != 0,
                              packed_args != 0, fallback});
}

JNIEXPORT void JNICALL Java_org_tessal_vemo_internal_CallbackExt_unbind(JNIEnv* env, jobject,
                                                                        jobject owner) {
  callback::unbind(env, owner);
}

JNIEXPORT void JNICALL Java_org_tessal_vemo_internal_CallbackExt_reset(JNIEnv* env, jobject) {
  callback::reset(env);
}

JNIEXPORT jboolean JNICALL Java_org_tessal_vemo_internal_CallbackExt_getEnabled(JNIEnv*,
                                                                               jobject) {
  return static_cast<jboolean>(callback_state.enabled.load(std::memory_order_relaxed) & 0xFF);
}

JNIEXPORT void JNICALL Java_org_tessal_vemo_internal_CallbackExt_setEnabled(JNIEnv*, jobject,
                                                                           jboolean enabled) {
  callback_state.enabled.store(enabled, std::memory_order_relaxed);
}

JNIEXPORT jint JNICALL Java_org_tessal_vemo_internal_CallbackExt_getEntryCount(JNIEnv*,
                                                                              jobject) {
  return callback_state.entry_count.load(std::memory_order_relaxed);
}

}  // extern "C"
