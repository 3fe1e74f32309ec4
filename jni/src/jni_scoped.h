// Scoped holders for what native code borrows from the JVM: a string's
// modified-UTF-8 characters, a byte array's elements and a local reference.
// Each releases what it holds exactly once. (The environment of a thunk's
// thread has its own holder: callback/thread_env.h.)
#pragma once

#include <jni.h>

#include <array>
#include <cstddef>
#include <optional>
#include <utility>

namespace jni {

// GetStringUTFChars / ReleaseStringUTFChars. A null string, or one whose
// characters the JVM cannot provide, leaves get() null.
class Utf8Chars {
 public:
  Utf8Chars(JNIEnv* env, jstring string)
      : env_(env), string_(string),
        chars_(string ? env->GetStringUTFChars(string, nullptr) : nullptr) {}
  ~Utf8Chars() {
    if (chars_) env_->ReleaseStringUTFChars(string_, chars_);
  }
  Utf8Chars(const Utf8Chars&) = delete;
  Utf8Chars& operator=(const Utf8Chars&) = delete;

  const char* get() const { return chars_; }
  // A non-null string whose characters the JVM could not provide (its
  // exception is pending).
  bool failed() const { return string_ && !chars_; }

 private:
  JNIEnv* env_;
  jstring string_;
  const char* chars_;
};

// The characters of several strings, borrowed in order and released in
// reverse. Borrowing stops at the first string that fails; ok() is then false
// and what was borrowed before is still released.
template <size_t N>
class Utf8Texts {
 public:
  Utf8Texts(JNIEnv* env, const std::array<jstring, N>& strings) {
    for (size_t i = 0; i < N && ok_; ++i) ok_ = !chars_[i].emplace(env, strings[i]).failed();
  }
  ~Utf8Texts() {
    for (size_t i = N; i-- > 0;) chars_[i].reset();
  }
  Utf8Texts(const Utf8Texts&) = delete;
  Utf8Texts& operator=(const Utf8Texts&) = delete;

  bool ok() const { return ok_; }
  const char* operator[](size_t i) const { return chars_[i]->get(); }

 private:
  std::array<std::optional<Utf8Chars>, N> chars_;
  bool ok_ = true;
};

// GetByteArrayElements / ReleaseByteArrayElements in mode 0 (copied back and
// freed). A null array leaves get() null.
class ByteElements {
 public:
  ByteElements(JNIEnv* env, jbyteArray array)
      : env_(env), array_(array),
        bytes_(array ? env->GetByteArrayElements(array, nullptr) : nullptr) {}
  ~ByteElements() {
    if (bytes_) env_->ReleaseByteArrayElements(array_, bytes_, 0);
  }
  ByteElements(const ByteElements&) = delete;
  ByteElements& operator=(const ByteElements&) = delete;

  const jbyte* get() const { return bytes_; }
  bool failed() const { return array_ && !bytes_; }
  // The array's length; 0 for a null array.
  jsize length() const { return array_ ? env_->GetArrayLength(array_) : 0; }

 private:
  JNIEnv* env_;
  jbyteArray array_;
  jbyte* bytes_;
};

// A local reference, deleted when the holder ends.
template <typename T>
class LocalRef {
 public:
  LocalRef(JNIEnv* env, T ref) : env_(env), ref_(ref) {}
  ~LocalRef() {
    if (ref_) env_->DeleteLocalRef(ref_);
  }
  LocalRef(const LocalRef&) = delete;
  LocalRef& operator=(const LocalRef&) = delete;

  T get() const { return ref_; }
  explicit operator bool() const { return ref_ != nullptr; }

 private:
  JNIEnv* env_;
  T ref_;
};

}  // namespace jni
