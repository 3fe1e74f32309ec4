// Engine text as Java strings. The engine's texts are standard UTF-8, which
// NewStringUTF (made for the JVM's modified UTF-8) would garble outside the
// Basic Multilingual Plane; they are decoded to UTF-16 here instead, invalid
// bytes becoming U+FFFD, and ASCII keeps the direct path.
#pragma once

#include <jni.h>

#include <cstddef>

#include "zorvan_vemo.h"

namespace natives {

// The Java string of `length` bytes at `text`; "" for a null text. Null, with
// OutOfMemoryError pending, when the JVM cannot make the string.
jstring java_string(JNIEnv* env, const char* text, size_t length);

// The text of a user-free string of the engine, which is then freed; null
// for a null string.
jstring take_user_free(JNIEnv* env, cef_string_userfree_utf8_t string);

}  // namespace natives
