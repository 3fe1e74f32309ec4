// Natives of cookies.
#include "jni_scoped.h"
#include "natives/java_text.h"
#include "natives/native_values.h"
#include "org_tessal_vemo_internal_zorvan_lib_ZorvanLib.h"
#include "zorvan_vemo.h"

using natives::Address;
using natives::low_byte;

extern "C" {

JNIEXPORT jboolean JNICALL Java_org_tessal_vemo_internal_zorvan_lib_ZorvanLib_cefvemo_1set_1cookie(JNIEnv* env, jclass, jstring url,
                                                     jstring name, jstring value, jstring domain,
                                                     jstring path, jint secure, jint httponly,
                                                     jdouble expires) {
  const jni::Utf8Texts<5> texts(env, {url, name, value, domain, path});
  if (!texts.ok()) return JNI_FALSE;
  return low_byte(cefvemo_set_cookie(texts[0], texts[1], texts[2], texts[3], texts[4], secure,
                                     httponly, expires));
}

JNIEXPORT jboolean JNICALL Java_org_tessal_vemo_internal_zorvan_lib_ZorvanLib_cefvemo_1get_1cookie(JNIEnv* env, jclass, jstring url,
                                                     jlong visitor) {
  const jni::Utf8Texts<1> texts(env, {url});
  if (!texts.ok()) return JNI_FALSE;
  return low_byte(cefvemo_get_cookie(texts[0], Address{visitor}));
}

JNIEXPORT void JNICALL Java_org_tessal_vemo_internal_zorvan_lib_ZorvanLib_cefvemo_1delete_1cookies(JNIEnv*, jclass) { cefvemo_delete_cookies(); }

JNIEXPORT jstring JNICALL Java_org_tessal_vemo_internal_zorvan_lib_ZorvanLib_cefvemo_1cookie_1to_1java(JNIEnv* env, jclass, jlong string) {
  return natives::take_user_free(env, cefvemo_cookie_to_java(Address{string}));
}

JNIEXPORT jstring JNICALL Java_org_tessal_vemo_internal_zorvan_lib_ZorvanLib_cefvemo_1cookie_1value(JNIEnv* env, jclass, jlong cookie) {
  return natives::take_user_free(env, cefvemo_cookie_value(Address{cookie}));
}

}  // extern "C"
