// Process-wide state of the callback thunks: the slot table that binds each
// thunk column to a Java method, the cached Java VM and JNI version, the
// enabled flag and the entry counter.
//
// Ownership: a bound slot owns one JNI global reference to its owner object,
// one to its receiver and, in the packed form, one to its method handle.
// Unbinding the owner, or a reset, takes the slot out of use at once and
// deletes those references as soon as no thunk call can still be using them.
//
// Threads: the binding fields are written only by the CallbackExt natives,
// which the Java host calls from one thread; thunks read them from any thread.
// Each slot's use word tells thunks whether the slot is bound and counts the
// thunk calls holding it (see SlotUse). A thunk takes a hold with one atomic
// increment and reads the binding only if the slot was bound at that moment;
// while any hold is out the binding thread neither deletes the references nor
// lets a new bind overwrite the fields. Thunks never wait: an unbinding that
// finds holds out leaves the slot retiring, and the binding thread finishes
// it on a later bind, unbind or reset once the holds are back.
//
// The use words live apart from the slots, a cache line each: thunks write
// their slot's word on every call, and the binding thread's searches read
// only the slots, so binding and unbinding other slots never takes the line
// a thunk writes away from its core.
#pragma once

#include <jni.h>

#include <atomic>
#include <cstdint>

namespace callback {

inline constexpr int kSlotCount = 128;
inline constexpr int kMaxArity = 12;

// The use word of a slot: bit 32 is set while the slot is bound, the low 32
// bits count the thunk calls that hold the slot.
struct alignas(64) SlotUse {
  static constexpr std::uint64_t kBound = std::uint64_t{1} << 32;
  static constexpr std::uint64_t kHolds = kBound - 1;
  std::atomic<std::uint64_t> word;
};

// One cache line per slot, so that binding one slot does not slow down the
// thunk calls of its neighbours.
struct alignas(64) CallbackSlot {
  // Binding-thread state: non-null from bind until the references are
  // deleted.
  jobject owner;      // global reference
  jmethodID method;
  jobject receiver;   // global reference: the instance, or the class of a static method
  jobject packed_handle;  // global reference, or null: see packed_call.h
  std::int64_t fallback;
  std::int32_t arity;
  bool static_call;
  bool packed_args;
  // Binding-thread state: taken out of use, its references not yet deleted
  // because a call still held it.
  bool retiring;
};

struct CallbackState {
  CallbackSlot slots[kSlotCount];
  SlotUse use[kSlotCount];
  std::atomic<JavaVM*> vm{nullptr};
  std::atomic<jint> jni_version{0};
  std::atomic<std::int32_t> enabled{1};
  // Thunk calls currently inside their Java method, on all threads.
  alignas(64) std::atomic<std::int32_t> entry_count{0};
};

// All zero when the library is loaded, except the enabled flag.
extern constinit CallbackState callback_state;

}  // namespace callback
