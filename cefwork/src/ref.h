// Ref<T>: owner of one reference to a CEF object inside the work-alike.
// adopt() takes over a reference (one we were given or created), retain()
// adds one; share() hands one more to a callee that will release it.
#pragma once

#include <utility>

#include "cef_object.h"

namespace cefwork {

template <class T>
class Ref {
 public:
  Ref() = default;
  static Ref adopt(T* object) { return Ref(object); }
  static Ref retain(T* object) {
    cefwork::add_ref(object);
    return Ref(object);
  }
  ~Ref() { reset(); }
  Ref(Ref&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
  Ref& operator=(Ref&& other) noexcept {
    if (this != &other) {
      reset();
      object_ = std::exchange(other.object_, nullptr);
    }
    return *this;
  }
  Ref(const Ref& other) : object_(other.object_) { cefwork::add_ref(object_); }
  Ref& operator=(const Ref& other) {
    if (this != &other) {
      reset();
      object_ = other.object_;
      cefwork::add_ref(object_);
    }
    return *this;
  }

  T* get() const { return object_; }
  T* operator->() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }
  T* share() const {
    cefwork::add_ref(object_);
    return object_;
  }
  void reset() {
    if (object_) cefwork::release(std::exchange(object_, nullptr));
  }

 private:
  explicit Ref(T* object) : object_(object) {}
  T* object_ = nullptr;
};

}  // namespace cefwork
