// The size natives and memmove natives of ZorvanLib, one pair per mirrored
// CEF structure, expanded from the generated member tables.
#include <jni.h>

#include <cstddef>
#include <iterator>

#include "cef/cef_capi.h"
#include "mirrors/mirror_copy.h"
#include "org_tessal_vemo_internal_zorvan_lib_ZorvanLib.h"

#define ZV_MIRROR_BEGIN(kind, type, mangled, bytes) \
  namespace mirrors {                               \
  constexpr Member k_##type##_members[] = {
#define ZV_MIRROR_MEMBER(type, java_type, name) ZV_MEMBER(type, #java_type[0], name),
#define ZV_MIRROR_END(kind, type, mangled, bytes)                                     \
  };                                                                                  \
  static_assert(sizeof(type) == (bytes), "size of " #type);                           \
  static_assert(sizeof(type) <= kMaxStructSize, "scratch room for " #type);           \
  static_assert(covers(k_##type##_members, sizeof(type)), "members of " #type);       \
  static_assert(std::size(k_##type##_members) <= kMaxMembers, "members of " #type);   \
  constinit Layout k_##type{sizeof(type), k_##type##_members, ZV_HEADER_OF_##kind};   \
  }                                                                                   \
  ZV_NATIVES_OF_##kind(type, mangled, bytes)

#define ZV_HEADER_OF_header nullptr
#define ZV_HEADER_OF_handler &k_cef_base_ref_counted_t
#define ZV_HEADER_OF_value nullptr

#define ZV_SIZEOF_NATIVE(type, mangled, bytes)                                               \
  extern "C" JNIEXPORT jint JNICALL Java_org_tessal_vemo_internal_zorvan_lib_ZorvanLib_##mangled##_1sizeof( \
      JNIEnv*, jclass) {                                                                     \
    return bytes;                                                                            \
  }

#define ZV_NATIVES_OF_header(type, mangled, bytes)
#define ZV_NATIVES_OF_handler(type, mangled, bytes)                                          \
  ZV_SIZEOF_NATIVE(type, mangled, bytes)                                                     \
  extern "C" JNIEXPORT void JNICALL                                                          \
      Java_org_tessal_vemo_internal_zorvan_lib_ZorvanLib_memmove__JLorg_tessal_vemo_internal_zorvan_lib_##mangled##_2I( \
          JNIEnv* env, jclass, jlong destination, jobject source, jint size) {               \
    mirrors::copy_to_native(env, mirrors::k_##type, destination, source, size);              \
  }
#define ZV_NATIVES_OF_value(type, mangled, bytes)                                            \
  ZV_SIZEOF_NATIVE(type, mangled, bytes)                                                     \
  extern "C" JNIEXPORT void JNICALL                                                          \
      Java_org_tessal_vemo_internal_zorvan_lib_ZorvanLib_memmove__Lorg_tessal_vemo_internal_zorvan_lib_##mangled##_2JI( \
          JNIEnv* env, jclass, jobject destination, jlong source, jint size) {               \
    mirrors::copy_to_java(env, mirrors::k_##type, destination, source, size);                \
  }

#include "mirror_tables.inc"
