// Natives of the script API.
#include "jni_scoped.h"
#include "natives/native_values.h"
#include "natives/records.h"
#include "org_tessal_vemo_internal_zorvan_lib_ZorvanLib.h"
#include "zorvan_vemo.h"

using natives::low_byte;
using natives::pointer;

extern "C" {

JNIEXPORT void JNICALL Java_org_tessal_vemo_internal_zorvan_lib_ZorvanLib_cefvemo_1execute(JNIEnv* env, jclass, jlong browser, jstring script) {
  const jni::Utf8Texts<1> texts(env, {script});
  if (texts.ok()) cefvemo_execute(pointer<cef_browser_t>(browser), texts[0]);
}

JNIEXPORT jboolean JNICALL Java_org_tessal_vemo_internal_zorvan_lib_ZorvanLib_cefvemo_1eval(JNIEnv* env, jclass, jlong browser, jstring script,
                                              jint port, jlong callback) {
  const jni::Utf8Texts<1> texts(env, {script});
  if (!texts.ok()) return JNI_FALSE;
  return low_byte(cefvemo_eval(pointer<cef_browser_t>(browser), texts[0], port,
                               reinterpret_cast<cefvemo_return_callback>(callback)));
}

JNIEXPORT jboolean JNICALL Java_org_tessal_vemo_internal_zorvan_lib_ZorvanLib_cefvemo_1function(JNIEnv* env, jclass, jlong browser, jstring name,
                                                  jint id) {
  const jni::Utf8Texts<1> texts(env, {name});
  if (!texts.ok()) return JNI_FALSE;
  return low_byte(cefvemo_function(pointer<cef_browser_t>(browser), texts[0], id));
}

// The engine fills the record, which is then written into the object; with
// a null object, or one whose class lacks a field, there is nothing to fill
// and no call.
JNIEXPORT void JNICALL Java_org_tessal_vemo_internal_zorvan_lib_ZorvanLib_cefvemo_1function_1id(JNIEnv* env, jclass, jlong message,
                                                  jobject object) {
  if (!object || !natives::function_st_layout.has_fields(env, object)) return;
  FunctionSt record{};
  cefvemo_function_id(pointer<cef_process_message_t>(message), &record);
  natives::function_st_layout.write(env, object, reinterpret_cast<const unsigned char*>(&record));
}

JNIEXPORT void JNICALL Java_org_tessal_vemo_internal_zorvan_lib_ZorvanLib_cefvemo_1function_1arg(JNIEnv*, jclass, jlong message, jint index,
                                                   jlong callback) {
  cefvemo_function_arg(pointer<cef_process_message_t>(message), index,
                       reinterpret_cast<cefvemo_return_callback>(callback));
}

JNIEXPORT jboolean JNICALL Java_org_tessal_vemo_internal_zorvan_lib_ZorvanLib_cefvemo_1function_1return(JNIEnv* env, jclass, jlong browser,
                                                          jint unused, jint port, jint kind,
                                                          jstring value) {
  const jni::Utf8Texts<1> texts(env, {value});
  if (!texts.ok()) return JNI_FALSE;
  return low_byte(
      cefvemo_function_return(pointer<cef_browser_t>(browser), unused, port, kind, texts[0]));
}

}  // extern "C"
