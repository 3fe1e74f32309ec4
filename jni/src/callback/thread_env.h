// The JNI environment of the thread a thunk runs on.
//
// Asking the JVM for it (GetEnv) costs about a tenth of a whole thunk call,
// so each attached thread's environment is remembered in a thread-local slot
// after the first ask. A remembered environment is only good while its thread
// stays attached: whoever attached a thread may detach it between two calls
// and attach it again later under a new environment. So environments are
// remembered only once the JVM has agreed to report every thread's end
// (the JVM TI event ThreadEnd, which a detaching thread posts on itself), and
// that report clears the thread's slot. Without that agreement every call
// asks the JVM.
//
// A thread the JVM does not know is attached for the one call (as a daemon
// thread when the JVM offers JNI 1.4 or later) and detached again when the
// holder ends, so it leaves as it came; its environment is not remembered.
#pragma once

#include <jni.h>

namespace callback {

// Called by the binding thread before its first binding, so before a thunk
// can reach a Java method: asks the JVM to report thread ends, and lets
// thunks remember environments if it agrees. Later calls do nothing.
void remember_thread_envs(JavaVM* vm);

class ThreadEnv {
 public:
  ThreadEnv(JavaVM* vm, jint jni_version);
  ~ThreadEnv() {
    if (attached_) vm_->DetachCurrentThread();
  }
  ThreadEnv(const ThreadEnv&) = delete;
  ThreadEnv& operator=(const ThreadEnv&) = delete;

  // Null when no environment could be had.
  JNIEnv* env() const { return env_; }

 private:
  JavaVM* vm_;
  JNIEnv* env_ = nullptr;
  bool attached_ = false;
};

// The calling thread's remembered environment (thread_env_slot_posix.cc,
// thread_env_slot_win.cc). create_env_slot is called once, before the first
// remember_env; remembered_env gives null on a thread that has none.
bool create_env_slot();
JNIEnv* remembered_env();
void remember_env(JNIEnv* env);

}  // namespace callback
