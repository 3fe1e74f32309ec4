// Natives of the download and authentication continuations.
#include <cstddef>

#include "jni_scoped.h"
#include "mirrors/layout.h"
#include "natives/native_values.h"
#include "org_tessal_vemo_internal_zorvan_lib_ZorvanLib.h"
#include "zorvan_vemo.h"

using natives::Address;

namespace {

constexpr mirrors::Member kDownloadItemMembers[] = {
    ZV_MEMBER(DownloadItem, 'I', id),       ZV_MEMBER(DownloadItem, 'I', status),
    ZV_MEMBER(DownloadItem, 'J', file),     ZV_MEMBER(DownloadItem, 'J', url),
    ZV_MEMBER(DownloadItem, 'J', received), ZV_MEMBER(DownloadItem, 'J', total),
    ZV_MEMBER(DownloadItem, 'J', speed),    ZV_MEMBER(DownloadItem, 'I', percent),
};
// The last member may be followed by padding up to the record's alignment.
static_assert(mirrors::covers(kDownloadItemMembers, offsetof(DownloadItem, percent) + 4));

constinit mirrors::Layout download_item_layout{sizeof(DownloadItem), kDownloadItemMembers};

}  // namespace

extern "C" {

JNIEXPORT void JNICALL Java_org_tessal_vemo_internal_zorvan_lib_ZorvanLib_cefvemo_1download_1callback(JNIEnv* env, jclass, jlong callback,
                                                        jstring path, jint cont) {
  const jni::Utf8Texts<1> texts(env, {path});
  if (texts.ok()) cefvemo_download_callback(Address{callback}, texts[0], cont);
}

// The record is read from the object, handed to the engine and written back
// whole; with a null object there is no record and no call.
JNIEXPORT void JNICALL Java_org_tessal_vemo_internal_zorvan_lib_ZorvanLib_cefvemo_1download_1item(JNIEnv* env, jclass, jlong item,
                                                    jobject object) {
  if (!object) return;
  DownloadItem record{};
  auto* bytes = reinterpret_cast<unsigned char*>(&record);
  if (!download_item_layout.read(env, object, bytes)) return;
  cefvemo_download_item(Address{item}, &record);
  download_item_layout.write(env, object, bytes);
}

JNIEXPORT void JNICALL Java_org_tessal_vemo_internal_zorvan_lib_ZorvanLib_cefvemo_1auth_1callback(JNIEnv* env, jclass, jlong callback,
                                                    jstring user_name, jstring password,
                                                    jint cont) {
  const jni::Utf8Texts<2> texts(env, {user_name, password});
  if (texts.ok()) cefvemo_auth_callback(Address{callback}, texts[0], texts[1], cont);
}

}  // extern "C"
