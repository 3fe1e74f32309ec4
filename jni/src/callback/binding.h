// Binding Java methods to thunk slots, and releasing them again. Called by
// the CallbackExt natives on the Java host's one binding thread.
#pragma once

#include <jni.h>

namespace callback {

struct MethodRequest {
  jobject owner;
  jobject receiver;  // the instance, or the class of a static method
  jstring name;
  jstring signature;  // JNI descriptor
  jint arity;
  bool static_call;
  bool packed_args;
  jlong fallback;
};

// Binds the method to the lowest free slot and returns the thunk address for
// its arity and that slot, or 0 when nothing was bound. A failed method lookup
// leaves the JVM's exception pending for the Java caller.
jlong bind(JNIEnv* env, const MethodRequest& request);

// Releases every slot bound with `owner`.
void unbind(JNIEnv* env, jobject owner);

// Releases every bound slot.
void reset(JNIEnv* env);

}  // namespace callback
