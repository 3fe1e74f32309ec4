// Natives of browser views.
#include "jni_scoped.h"
#include "natives/native_values.h"
#include "org_tessal_vemo_internal_zorvan_lib_ZorvanLib.h"
#include "zorvan_vemo.h"

using natives::address;
using natives::pointer;

extern "C" {

JNIEXPORT jlong JNICALL Java_org_tessal_vemo_internal_zorvan_lib_ZorvanLib_cefvemo_1create_1browser(JNIEnv* env, jclass, jlong parent,
                                                      jstring url, jlong client, jint width,
                                                      jint height, jint javascript,
                                                      jint background) {
  const jni::Utf8Texts<1> texts(env, {url});
  if (!texts.ok()) return 0;
  return address(cefvemo_create_browser(pointer<void>(parent), texts[0],
                                        pointer<cef_client_t>(client), width, height, javascript,
                                        static_cast<cef_color_t>(background)));
}

JNIEXPORT void JNICALL Java_org_tessal_vemo_internal_zorvan_lib_ZorvanLib_cefvemo_1set_1window_1info_1parent(JNIEnv*, jclass, jlong window_info,
                                                               jlong client_slot, jlong client,
                                                               jlong parent, jint x, jint y,
                                                               jint width, jint height) {
  cefvemo_set_window_info_parent(pointer<cef_window_info_t>(window_info),
                                 pointer<cef_client_t*>(client_slot), pointer<cef_client_t>(client),
                                 pointer<void>(parent), x, y, width, height);
}

JNIEXPORT void JNICALL Java_org_tessal_vemo_internal_zorvan_lib_ZorvanLib_cefvemo_1resized(JNIEnv*, jclass, jlong browser, jint width,
                                             jint height) {
  cefvemo_resized(pointer<cef_browser_t>(browser), width, height);
}

JNIEXPORT void JNICALL Java_org_tessal_vemo_internal_zorvan_lib_ZorvanLib_cefvemo_1close_1browser(JNIEnv*, jclass, jlong browser, jint force) {
  cefvemo_close_browser(pointer<cef_browser_t>(browser), force);
}

// Any non-zero boolean byte is focus: the export gets exactly 1. The third
// argument is the Java host's and not read by the engine.
JNIEXPORT void JNICALL Java_org_tessal_vemo_internal_zorvan_lib_ZorvanLib_cefvemo_1set_1focus(JNIEnv*, jclass, jlong browser, jboolean focus,
                                                jlong) {
  cefvemo_set_focus(pointer<cef_browser_t>(browser), focus ? 1 : 0);
}

JNIEXPORT jint JNICALL Java_org_tessal_vemo_internal_zorvan_lib_ZorvanLib_cefvemo_1ref(JNIEnv*, jclass, jlong browser, jint add) {
  return cefvemo_ref(pointer<cef_browser_t>(browser), add);
}

JNIEXPORT void JNICALL Java_org_tessal_vemo_internal_zorvan_lib_ZorvanLib_cefvemo_1free(JNIEnv*, jclass, jlong browser) {
  cefvemo_free(pointer<cef_browser_t>(browser));
}

JNIEXPORT jint JNICALL Java_org_tessal_vemo_internal_zorvan_lib_ZorvanLib_cefvemo_1get_1id(JNIEnv*, jclass, jlong browser) {
  return cefvemo_get_id(pointer<cef_browser_t>(browser));
}

JNIEXPORT jint JNICALL Java_org_tessal_vemo_internal_zorvan_lib_ZorvanLib_cefvemo_1is_1same(JNIEnv*, jclass, jlong browser, jlong other) {
  return cefvemo_is_same(pointer<cef_browser_t>(browser), pointer<cef_browser_t>(other));
}

JNIEXPORT jint JNICALL Java_org_tessal_vemo_internal_zorvan_lib_ZorvanLib_cefvemo_1is_1main_1frame(JNIEnv*, jclass, jlong frame) {
  return cefvemo_is_main_frame(pointer<cef_frame_t>(frame));
}

}  // extern "C"
