// Reference counting of CEF objects.
//
// Who owns what: an object CEF passes to a callback carries one reference,
// which the callee releases; an object CEF returns carries one, which the
// caller releases; before an object goes into a CEF call that keeps it, one
// reference is added for CEF to take over. CefRef (cef_ref.h) follows these
// rules so that call sites never count by hand.
//
// The system's own handler objects (App, RenderProcessHandler, V8Handler)
// derive from RefCounted: their CEF structure comes first, so the object's
// address is the structure's address, followed by a 16-bit atomic count that
// starts at 0; the first owner takes the first reference.
#pragma once

#include <atomic>
#include <cstdint>

#include "cef/cef_capi.h"

namespace Base {

inline cef_base_ref_counted_t* base_of(const void* object) {
  return reinterpret_cast<cef_base_ref_counted_t*>(const_cast<void*>(object));
}

// Adds a reference to any CEF object.
inline void add_ref(const void* object) {
  cef_base_ref_counted_t* base = base_of(object);
  base->add_ref(base);
}

// Releases a reference on any CEF object; 1 when that was the last one.
inline int release(const void* object) {
  cef_base_ref_counted_t* base = base_of(object);
  return base->release(base);
}

}  // namespace Base

namespace RefCount {

// The CEF structure of one of our objects: the object's own address.
template <class T>
auto* wrapper(T* object) {
  return &object->cef;
}

}  // namespace RefCount

// Base of our handler objects. OnZero is called when a release brings the
// count to 0 (App and RenderProcessHandler do nothing there).
template <class Self, class CefT>
struct RefCounted {
  CefT cef{};
  std::atomic<int16_t> ref_count{0};

  static Self* of(const void* cef_struct) {
    return static_cast<Self*>(reinterpret_cast<RefCounted*>(const_cast<void*>(cef_struct)));
  }

 protected:
  RefCounted() {
    cef_base_ref_counted_t* base = Base::base_of(&cef);
    base->size = sizeof(CefT);
    base->add_ref = [](cef_base_ref_counted_t* self) {
      of(self)->ref_count.fetch_add(1, std::memory_order_relaxed);
    };
    base->release = [](cef_base_ref_counted_t* self) {
      Self* object = of(self);
      if (object->ref_count.fetch_sub(1, std::memory_order_acq_rel) != 1) return 0;
      object->on_zero_references();
      return 1;
    };
    base->has_one_ref = [](cef_base_ref_counted_t* self) {
      return of(self)->ref_count.load(std::memory_order_relaxed) == 1 ? 1 : 0;
    };
    base->has_at_least_one_ref = [](cef_base_ref_counted_t* self) {
      return of(self)->ref_count.load(std::memory_order_relaxed) > 0 ? 1 : 0;
    };
  }
  ~RefCounted() = default;

  // Default: the object lives on (App and RenderProcessHandler live until
  // the process ends).
  void on_zero_references() {}
};
