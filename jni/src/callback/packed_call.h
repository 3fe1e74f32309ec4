// Packed-form calls made by Java code: the class PackedCall, embedded in this
// library and defined in the JVM on first use, collects a callback's native
// arguments into a new long[] and invokes the handler through a method handle.
// Allocating the array in compiled Java code costs a small part of what
// NewLongArray and filling it through JNI cost.
#pragma once

#include <jni.h>

namespace callback {

// A global reference to a method handle of type (long[])long that calls the
// method on `receiver` (on the class `receiver` for a static method), or null
// when no such handle can be made; exceptions raised on the way are cleared.
jobject make_packed_handle(JNIEnv* env, jobject receiver, jmethodID method, bool static_call);

// Calls the handle with `arity` arguments in args[1] to args[arity]; args[0]
// is a spare element that takes the handle.
jlong call_packed_handle(JNIEnv* env, jobject handle, int arity, jvalue* args);

}  // namespace callback
