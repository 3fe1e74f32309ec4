#include "callback/thread_env.h"

#include <jvmti.h>

#include <atomic>

namespace callback {
namespace {

// Set once the JVM reports thread ends to forget_env; never cleared, as the
// JVM TI environment lives as long as the JVM.
std::atomic<bool> remembering{false};
std::atomic<bool> asked{false};

// Runs on the ending (detaching) thread itself.
void JNICALL forget_env(jvmtiEnv*, JNIEnv*, jthread) { remember_env(nullptr); }

}  // namespace

void remember_thread_envs(JavaVM* vm) {
  if (asked.exchange(true)) return;
  jvmtiEnv* jvmti = nullptr;
  if (vm->GetEnv(reinterpret_cast<void**>(&jvmti), JVMTI_VERSION_1_2) != JNI_OK || !jvmti) return;
  jvmtiEventCallbacks callbacks{};
  callbacks.ThreadEnd = &forget_env;
  if (!create_env_slot() ||
      jvmti->SetEventCallbacks(&callbacks, sizeof callbacks) != JVMTI_ERROR_NONE ||
      jvmti->SetEventNotificationMode(JVMTI_ENABLE, JVMTI_EVENT_THREAD_END, nullptr) !=
          JVMTI_ERROR_NONE) {
    jvmti->DisposeEnvironment();
    return;
  }
  remembering.store(true, std::memory_order_release);
}

ThreadEnv::ThreadEnv(JavaVM* vm, jint jni_version) : vm_(vm) {
  const bool remember = remembering.load(std::memory_order_acquire);
  if (remember && (env_ = remembered_env())) return;
  if (vm_->GetEnv(reinterpret_cast<void**>(&env_), JNI_VERSION_1_4) == JNI_OK && env_) {
    if (remember) remember_env(env_);
    return;
  }
  env_ = nullptr;
  if (jni_version >= JNI_VERSION_1_4 &&
      vm_->AttachCurrentThreadAsDaemon(reinterpret_cast<void**>(&env_), nullptr) != JNI_OK)
    env_ = nullptr;
  if (!env_ && vm_->AttachCurrentThread(reinterpret_cast<void**>(&env_), nullptr) != JNI_OK)
    env_ = nullptr;
  attached_ = env_ != nullptr;
}

}  // namespace callback
