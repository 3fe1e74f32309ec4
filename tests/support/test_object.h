// CEF objects implemented by tests, as the Java host implements its tables:
// the structure first, a reference count that tests can check for balance,
// and storage owned by the test (never freed by a release).
#pragma once

#include <atomic>

#include "cef/cef_capi.h"

namespace zvtest {

template <class CefT>
struct TestObject {
  CefT cef{};
  std::atomic<int> refs{1};

  TestObject() {
    auto* base = reinterpret_cast<cef_base_ref_counted_t*>(&cef);
    base->size = sizeof(CefT);
    base->add_ref = [](cef_base_ref_counted_t* self) { of(self)->refs++; };
    base->release = [](cef_base_ref_counted_t* self) { return --of(self)->refs == 0 ? 1 : 0; };
    base->has_one_ref = [](cef_base_ref_counted_t* self) { return of(self)->refs == 1 ? 1 : 0; };
    base->has_at_least_one_ref = [](cef_base_ref_counted_t* self) {
      return of(self)->refs > 0 ? 1 : 0;
    };
  }
  TestObject(const TestObject&) = delete;
  TestObject& operator=(const TestObject&) = delete;

  static TestObject* of(const void* cef_struct) {
    return reinterpret_cast<TestObject*>(const_cast<void*>(cef_struct));
  }
};

// Releases an object that CEF passed to a callback or returned.
inline void release(void* object) {
  auto* base = reinterpret_cast<cef_base_ref_counted_t*>(object);
  if (base) base->release(base);
}

}  // namespace zvtest
