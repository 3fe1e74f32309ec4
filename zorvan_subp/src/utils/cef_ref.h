// utils::CefRef<T>: the one owner of one reference to a CEF object.
//
// adopt() takes over a reference CEF returned; retain() adds one to a
// borrowed pointer; pass() adds one for a CEF call that takes it over while
// this owner keeps its own. The owned reference is released once.
#pragma once

#include <utility>

#include "cef/cef_capi.h"

namespace utils {

template <class T>
class CefRef {
 public:
  CefRef() = default;
  static CefRef adopt(T* object) { return CefRef(object); }
  static CefRef retain(T* object) {
    add(object);
    return CefRef(object);
  }
  ~CefRef() { reset(); }
  CefRef(CefRef&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
  CefRef& operator=(CefRef&& other) noexcept {
    if (this != &other) {
      reset();
      object_ = std::exchange(other.object_, nullptr);
    }
    return *this;
  }
  CefRef(const CefRef&) = delete;
  CefRef& operator=(const CefRef&) = delete;

  T* get() const { return object_; }
  T* operator->() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }

  // One more reference, for a CEF call that takes it over.
  T* pass() const {
    add(object_);
    return object_;
  }
  // Gives up the owned reference to the caller.
  T* release() { return std::exchange(object_, nullptr); }
  void reset() {
    if (object_) {
      auto* base = reinterpret_cast<cef_base_ref_counted_t*>(std::exchange(object_, nullptr));
      base->release(base);
    }
  }

 private:
  explicit CefRef(T* object) : object_(object) {}
  static void add(T* object) {
    if (object) {
      auto* base = reinterpret_cast<cef_base_ref_counted_t*>(object);
      base->add_ref(base);
    }
  }
  T* object_ = nullptr;
};

}  // namespace utils
