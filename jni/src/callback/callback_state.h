// Process-wide state of the callback thunks: the slot table that binds each
// thunk column to a Java method, the cached Java VM and JNI version, the
// enabled flag and the entry counter.
//
// Ownership: a bound slot owns one JNI global reference to its owner object,
// one to its receiver and, in the packed form, one to its method handle;
// unbinding the owner, or a reset, deletes them and clears the slot. The table is written only by the CallbackExt natives, which the
// Java host calls from one thread; thunks read it from any thread. A slot is
// published by storing its owner last (release) and read by loading the owner
// first (acquire), so a thunk that sees an owner sees the whole binding.
#pragma once

#include <jni.h>

#include <atomic>
#include <cstdint>

namespace callback {

inline constexpr int kSlotCount = 128;
inline constexpr int kMaxArity = 12;

struct CallbackSlot {
  jobject owner;      // global reference; null marks the slot free
  jmethodID method;
  jobject receiver;   // global reference: the instance, or the class of a static method
  jboolean static_call;
  jboolean packed_args;
  std::int32_t arity;
  std::int64_t fallback;
  jobject packed_handle;  // global reference, or null: see packed_call.h
};

struct CallbackState {
  CallbackSlot slots[kSlotCount];
  std::atomic<JavaVM*> vm{nullptr};
  std::atomic<jint> jni_version{0};
  std::atomic<std::int32_t> enabled{1};
  // Changed with separate loads and stores, not read-modify-write: exact while
  // callbacks run on one thread, an estimate when they run on several.
  std::atomic<std::int32_t> entry_count{0};
};

// All zero when the library is loaded, except the enabled flag.
extern constinit CallbackState callback_state;

// The owner of a slot, read so that the rest of the slot is visible.
inline jobject load_owner(CallbackSlot& slot) {
  return std::atomic_ref<jobject>(slot.owner).load(std::memory_order_acquire);
}

// Makes a filled-in slot visible to thunks by storing its owner last.
inline void publish_owner(CallbackSlot& slot, jobject owner) {
  std::atomic_ref<jobject>(slot.owner).store(owner, std::memory_order_release);
}

}  // namespace callback
