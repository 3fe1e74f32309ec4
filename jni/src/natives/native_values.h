// How Java values reach the engine's exports and how their results come
// back: addresses travel as jlong, boolean results are the low byte of the
// export's int.
#pragma once

#include <jni.h>

#include <cstdint>

namespace natives {

template <typename T>
T* pointer(jlong address) {
  return reinterpret_cast<T*>(static_cast<intptr_t>(address));
}

inline jlong address(const void* pointer) {
  return static_cast<jlong>(reinterpret_cast<intptr_t>(pointer));
}

inline jboolean low_byte(int32_t result) { return static_cast<jboolean>(result & 0xFF); }

}  // namespace natives

namespace natives {

// An address for a pointer parameter of any type, for exports that take
// one of several callback structures through the same parameter.
struct Address {
  jlong value;
  template <typename T>
  operator T*() const {
    return pointer<T>(value);
  }
};

}  // namespace natives
