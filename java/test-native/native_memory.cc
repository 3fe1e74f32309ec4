// Test-only natives of org.tessal.vemo.internal.zorvan.lib.NativeMemory:
// native memory for handler tables and test structures, and direct calls of
// the JNI bridge's natives with arguments that Java's type checks would not
// let through (objects of unrelated classes, boolean bytes other than 0 and 1).
#include <dlfcn.h>
#include <jni.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

void* bridge_symbol(JNIEnv* env, jstring symbol) {
  static void* bridge = dlopen("libvemo-zorvan-52013-win32.so", RTLD_LAZY | RTLD_NOLOAD);
  const char* name = env->GetStringUTFChars(symbol, nullptr);
  void* found = bridge && name ? dlsym(bridge, name) : nullptr;
  if (name) env->ReleaseStringUTFChars(symbol, name);
  if (!found) env->ThrowNew(env->FindClass("java/lang/UnsatisfiedLinkError"), "no such native");
  return found;
}

void* at(jlong address) { return reinterpret_cast<void*>(static_cast<intptr_t>(address)); }

}  // namespace

#define ZV_MEMORY(name) JNICALL Java_org_tessal_vemo_internal_zorvan_lib_NativeMemory_##name

extern "C" {

JNIEXPORT jlong ZV_MEMORY(allocate)(JNIEnv*, jclass, jint size) {
  return reinterpret_cast<intptr_t>(std::calloc(1, static_cast<size_t>(size)));
}

JNIEXPORT void ZV_MEMORY(free)(JNIEnv*, jclass, jlong address) { std::free(at(address)); }

JNIEXPORT jbyteArray ZV_MEMORY(read)(JNIEnv* env, jclass, jlong address, jint length) {
  jbyteArray bytes = env->NewByteArray(length);
  if (bytes) env->SetByteArrayRegion(bytes, 0, length, static_cast<const jbyte*>(at(address)));
  return bytes;
}

JNIEXPORT void ZV_MEMORY(write)(JNIEnv* env, jclass, jlong address, jbyteArray bytes) {
  env->GetByteArrayRegion(bytes, 0, env->GetArrayLength(bytes), static_cast<jbyte*>(at(address)));
}

// (long, Object, int): the Java-to-native memmove natives.
JNIEXPORT void ZV_MEMORY(callToNative)(JNIEnv* env, jclass, jstring symbol, jlong address,
                                       jobject mirror, jint size) {
  if (void* f = bridge_symbol(env, symbol))
    reinterpret_cast<void (*)(JNIEnv*, jclass, jlong, jobject, jint)>(f)(env, nullptr, address,
                                                                         mirror, size);
}

// (Object, long, int): the native-to-Java memmove natives.
JNIEXPORT void ZV_MEMORY(callToJava)(JNIEnv* env, jclass, jstring symbol, jobject mirror,
                                     jlong address, jint size) {
  if (void* f = bridge_symbol(env, symbol))
    reinterpret_cast<void (*)(JNIEnv*, jclass, jobject, jlong, jint)>(f)(env, nullptr, mirror,
                                                                         address, size);
}

// (long, Object): the record natives.
JNIEXPORT void ZV_MEMORY(callRecord)(JNIEnv* env, jclass, jstring symbol, jlong address,
                                     jobject record) {
  if (void* f = bridge_symbol(env, symbol))
    reinterpret_cast<void (*)(JNIEnv*, jclass, jlong, jobject)>(f)(env, nullptr, address, record);
}

// (long, boolean byte, long): set_focus with any byte.
JNIEXPORT void ZV_MEMORY(callFocus)(JNIEnv* env, jclass, jstring symbol, jlong browser,
                                    jbyte focus) {
  if (void* f = bridge_symbol(env, symbol))
    reinterpret_cast<void (*)(JNIEnv*, jclass, jlong, jboolean, jlong)>(f)(
        env, nullptr, browser, static_cast<jboolean>(focus), 0);
}

}  // extern "C"
