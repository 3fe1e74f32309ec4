// CefRef<T>: the one owner of one reference to a CEF object.
//
//   CefRef<cef_frame_t> frame = CefRef<cef_frame_t>::adopt(browser->get_main_frame(browser));
//   frame->load_request(frame.get(), request.pass());   // CEF takes over the added reference
//
// adopt() takes over a reference that CEF returned; retain() adds one to a
// borrowed pointer; pass() adds one for a CEF call that keeps the object
// while this owner keeps its own. The reference is released once, when the
// owner goes away.
#pragma once

#include <utility>

#include "app/ref_count.h"

// Adds a reference to a borrowed object for a CEF call that takes it over.
template <class T>
T* pass_borrowed(T* object) {
  if (object) Base::add_ref(object);
  return object;
}

template <class T>
class CefRef {
 public:
  CefRef() = default;
  static CefRef adopt(T* object) { return CefRef(object); }
  static CefRef retain(T* object) {
    if (object) Base::add_ref(object);
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

  // One more reference, for CEF to take over.
  T* pass() const {
    if (object_) Base::add_ref(object_);
    return object_;
  }

  // Gives the owned reference up to the caller (a CEF out-parameter).
  T* release() { return std::exchange(object_, nullptr); }

  void reset() {
    if (object_) Base::release(std::exchange(object_, nullptr));
  }

 private:
  explicit CefRef(T* object) : object_(object) {}
  T* object_ = nullptr;
};
