#include "mirrors/mirror_copy.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace mirrors {
namespace {

bool check_operands(JNIEnv* env, jobject mirror, jlong address) {
  const char* missing = !mirror ? "null mirror" : address == 0 ? "null native address" : nullptr;
  if (!missing) return true;
  if (jclass npe = env->FindClass("java/lang/NullPointerException")) {
    env->ThrowNew(npe, missing);
    env->DeleteLocalRef(npe);
  }
  return false;
}

// `size` sign-extended, then kept within the structure.
size_t clamped(jint size, const Layout& layout) {
  return static_cast<size_t>(std::clamp<int64_t>(size, 0, static_cast<int64_t>(layout.size())));
}

}  // namespace

void copy_to_native(JNIEnv* env, Layout& layout, jlong destination, jobject source, jint size) {
  if (!check_operands(env, source, destination)) return;
  // Zeroed, so that a mirror without a base header copies a zero header.
  alignas(8) unsigned char scratch[kMaxStructSize] = {};
  if (!layout.read(env, source, scratch)) return;
  std::memcpy(reinterpret_cast<void*>(static_cast<intptr_t>(destination)), scratch,
              clamped(size, layout));
}

void copy_to_java(JNIEnv* env, Layout& layout, jobject destination, jlong source, jint size) {
  if (!check_operands(env, destination, source)) return;
  // The mirror's current values, overwritten by the copied prefix only.
  alignas(8) unsigned char scratch[kMaxStructSize] = {};
  if (!layout.read(env, destination, scratch)) return;
  std::memcpy(scratch, reinterpret_cast<const void*>(static_cast<intptr_t>(source)),
              clamped(size, layout));
  layout.write(env, destination, scratch);
}

}  // namespace mirrors
