// The copies behind the memmove natives: a handler mirror into native
// memory, a native value structure into its mirror. Either way the copy
// stays within one structure: `size` is clamped to 0 ... the structure's
// size; a null mirror or a zero address throws NullPointerException and
// copies nothing.
#pragma once

#include <jni.h>

#include "mirrors/layout.h"

namespace mirrors {

// Room for the largest mirrored structure (cef_client_t).
inline constexpr size_t kMaxStructSize = 160;

void copy_to_native(JNIEnv* env, Layout& layout, jlong destination, jobject source, jint size);
void copy_to_java(JNIEnv* env, Layout& layout, jobject destination, jlong source, jint size);

}  // namespace mirrors
