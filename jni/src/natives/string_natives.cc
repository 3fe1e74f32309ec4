// Natives that read engine text into Java strings.
#include <cstring>

#include "natives/java_text.h"
#include "natives/native_values.h"
#include "org_tessal_vemo_internal_zorvan_lib_ZorvanLib.h"
#include "zorvan_vemo.h"

using natives::pointer;

extern "C" {

JNIEXPORT jstring JNICALL Java_org_tessal_vemo_internal_zorvan_lib_ZorvanLib_cefvemo_1cefstring_1to_1java(JNIEnv* env, jclass, jlong string) {
  return natives::take_user_free(env, cefvemo_cefstring_to_java(pointer<cef_string_t>(string)));
}

// With free set the address is a user-free string of the engine, read and
// freed; otherwise a NUL-terminated text that its owner keeps. Address 0 is
// no text: null.
JNIEXPORT jstring JNICALL Java_org_tessal_vemo_internal_zorvan_lib_ZorvanLib_cefvemo_1cstring_1to_1java(JNIEnv* env, jclass, jlong address,
                                                          jboolean free) {
  if (address == 0) return nullptr;
  if (free) return natives::take_user_free(env, pointer<cef_string_utf8_t>(address));
  const char* text = pointer<const char>(address);
  return natives::java_string(env, text, std::strlen(text));
}

}  // extern "C"
