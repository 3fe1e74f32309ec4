// Natives of navigation and page content.
#include <algorithm>

#include "jni_scoped.h"
#include "natives/java_text.h"
#include "natives/native_values.h"
#include "org_tessal_vemo_internal_zorvan_lib_ZorvanLib.h"
#include "zorvan_vemo.h"

using natives::address;
using natives::pointer;

extern "C" {

// The two ints are widened with their sign. With post data, the length is
// kept within the array: the engine reads that many bytes from its elements.
JNIEXPORT void JNICALL Java_org_tessal_vemo_internal_zorvan_lib_ZorvanLib_cefvemo_1load_1url(JNIEnv* env, jclass, jlong browser, jstring url,
                                               jbyteArray post, jint post_length,
                                               jstring headers, jint header_count) {
  const jni::Utf8Chars url_chars(env, url);
  if (url_chars.failed()) return;
  const jni::ByteElements post_bytes(env, post);
  if (post_bytes.failed()) return;
  const jni::Utf8Chars header_chars(env, headers);
  if (header_chars.failed()) return;
  const int64_t length = post ? std::clamp<int64_t>(post_length, 0, post_bytes.length())
                              : static_cast<int64_t>(post_length);
  cefvemo_load_url(pointer<cef_browser_t>(browser), url_chars.get(), post_bytes.get(),
                   static_cast<uint64_t>(length), header_chars.get(),
                   static_cast<uint64_t>(static_cast<int64_t>(header_count)));
}

JNIEXPORT void JNICALL Java_org_tessal_vemo_internal_zorvan_lib_ZorvanLib_cefvemo_1stop(JNIEnv*, jclass, jlong browser) {
  cefvemo_stop(pointer<cef_browser_t>(browser));
}

JNIEXPORT void JNICALL Java_org_tessal_vemo_internal_zorvan_lib_ZorvanLib_cefvemo_1reload(JNIEnv*, jclass, jlong browser) {
  cefvemo_reload(pointer<cef_browser_t>(browser));
}

JNIEXPORT void JNICALL Java_org_tessal_vemo_internal_zorvan_lib_ZorvanLib_cefvemo_1go_1back(JNIEnv*, jclass, jlong browser) {
  cefvemo_go_back(pointer<cef_browser_t>(browser));
}

JNIEXPORT void JNICALL Java_org_tessal_vemo_internal_zorvan_lib_ZorvanLib_cefvemo_1go_1forward(JNIEnv*, jclass, jlong browser) {
  cefvemo_go_forward(pointer<cef_browser_t>(browser));
}

JNIEXPORT jlong JNICALL Java_org_tessal_vemo_internal_zorvan_lib_ZorvanLib_cefvemo_1get_1url(JNIEnv*, jclass, jlong browser) {
  return address(cefvemo_get_url(pointer<cef_browser_t>(browser)));
}

JNIEXPORT void JNICALL Java_org_tessal_vemo_internal_zorvan_lib_ZorvanLib_cefvemo_1get_1text(JNIEnv*, jclass, jlong browser, jlong visitor) {
  cefvemo_get_text(pointer<cef_browser_t>(browser), pointer<cef_string_visitor_t>(visitor));
}

JNIEXPORT jstring JNICALL Java_org_tessal_vemo_internal_zorvan_lib_ZorvanLib_cefvemo_1request_1to_1java(JNIEnv* env, jclass, jlong request) {
  return natives::take_user_free(env, cefvemo_request_to_java(pointer<cef_request_t>(request)));
}

}  // extern "C"
