// Natives of the dialog, context-menu and keyboard continuations.
#include "natives/native_values.h"
#include "org_tessal_vemo_internal_zorvan_lib_ZorvanLib.h"
#include "zorvan_vemo.h"

using natives::Address;

extern "C" {

JNIEXPORT void JNICALL Java_org_tessal_vemo_internal_zorvan_lib_ZorvanLib_cefvemo_1dialog_1close(JNIEnv*, jclass, jlong callback, jint success,
                                                   jlong user_input) {
  cefvemo_dialog_close(Address{callback}, success, Address{user_input});
}

JNIEXPORT void JNICALL Java_org_tessal_vemo_internal_zorvan_lib_ZorvanLib_cefvemo_1context_1menu_1cancel(JNIEnv*, jclass, jlong callback) {
  cefvemo_context_menu_cancel(Address{callback});
}

JNIEXPORT jint JNICALL Java_org_tessal_vemo_internal_zorvan_lib_ZorvanLib_cefvemo_1handlekey(JNIEnv*, jclass, jlong browser, jlong key_event) {
  return cefvemo_handlekey(Address{browser}, Address{key_event});
}

}  // extern "C"
