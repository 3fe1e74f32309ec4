// Natives of the engine lifecycle.
#include "natives/native_values.h"
#include "jni_scoped.h"
#include "org_tessal_vemo_internal_zorvan_lib_ZorvanLib.h"
#include "zorvan_vemo.h"

using natives::pointer;

extern "C" {

JNIEXPORT void JNICALL Java_org_tessal_vemo_internal_zorvan_lib_ZorvanLib_cefvemo_1init(JNIEnv* env, jclass, jlong app,
                                                                          jstring engine_dir, jstring options, jint debug_port) {
  const jni::Utf8Texts<2> texts(env, {engine_dir, options});
  if (texts.ok()) cefvemo_init(pointer<cef_app_t>(app), texts[0], texts[1], debug_port);
}

JNIEXPORT jint JNICALL Java_org_tessal_vemo_internal_zorvan_lib_ZorvanLib_cefvemo_1do_1message_1loop_1work(JNIEnv*, jclass) {
  return cefvemo_do_message_loop_work();
}

JNIEXPORT void JNICALL Java_org_tessal_vemo_internal_zorvan_lib_ZorvanLib_cefvemo_1shutdown(JNIEnv*, jclass) { cefvemo_shutdown(); }

JNIEXPORT void JNICALL Java_org_tessal_vemo_internal_zorvan_lib_ZorvanLib_cefvemo_1set_1command(JNIEnv* env, jclass, jlong command_line,
                                                  jstring name, jstring value) {
  const jni::Utf8Texts<2> texts(env, {name, value});
  if (texts.ok()) cefvemo_set_command(pointer<cef_command_line_t>(command_line), texts[0], texts[1]);
}

}  // extern "C"
