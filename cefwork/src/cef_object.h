// Base for the work-alike's own CEF objects: the CEF structure comes first,
// so the object's address is the structure's address, followed by an atomic
// reference count. A new object holds one reference, its creator's; the last
// release deletes it.
#pragma once

#include <atomic>

#include "cef/cef_capi.h"

namespace cefwork {

template <class Self, class CefT>
class CefObject {
 public:
  CefT cef{};

  static Self* from(const void* cef_struct) {
    return static_cast<Self*>(reinterpret_cast<CefObject*>(const_cast<void*>(cef_struct)));
  }
  // The structure with one more reference, for handing to a caller.
  CefT* share() {
    add_ref();
    return &cef;
  }
  void add_ref() { refs_.fetch_add(1, std::memory_order_relaxed); }
  void release() { Release(base()); }
  int ref_count() const { return refs_.load(std::memory_order_acquire); }

 protected:
  CefObject() {
    cef_base_ref_counted_t* b = base();
    b->size = sizeof(CefT);
    b->add_ref = &AddRef;
    b->release = &Release;
    b->has_one_ref = &HasOneRef;
    b->has_at_least_one_ref = &HasAtLeastOneRef;
  }
  ~CefObject() = default;

 private:
  cef_base_ref_counted_t* base() { return reinterpret_cast<cef_base_ref_counted_t*>(&cef); }

  static void CEF_CALLBACK AddRef(cef_base_ref_counted_t* self) { from(self)->add_ref(); }
  static int CEF_CALLBACK Release(cef_base_ref_counted_t* self) {
    Self* object = from(self);
    if (object->refs_.fetch_sub(1, std::memory_order_acq_rel) == 1) {
      delete object;
      return 1;
    }
    return 0;
  }
  static int CEF_CALLBACK HasOneRef(cef_base_ref_counted_t* self) {
    return from(self)->refs_.load(std::memory_order_acquire) == 1;
  }
  static int CEF_CALLBACK HasAtLeastOneRef(cef_base_ref_counted_t* self) {
    return from(self)->refs_.load(std::memory_order_acquire) > 0;
  }

  std::atomic<int> refs_{1};
};

// Calls add_ref / release on any CEF object through its base structure.
inline void add_ref(const void* object) {
  auto* base = reinterpret_cast<cef_base_ref_counted_t*>(const_cast<void*>(object));
  if (base && base->add_ref) base->add_ref(base);
}
inline void release(const void* object) {
  auto* base = reinterpret_cast<cef_base_ref_counted_t*>(const_cast<void*>(object));
  if (base && base->release) base->release(base);
}

}  // namespace cefwork
