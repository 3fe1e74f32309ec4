// A native structure or record together with the Java class that mirrors it:
// its member table and the field-ID cache of that class. read() and write()
// copy field by field between a Java object and the native bytes.
#pragma once

#include <jni.h>

#include <cstddef>
#include <span>

#include "mirrors/field_cache.h"
#include "mirrors/member_table.h"

namespace mirrors {

class Layout {
 public:
  // `header` is the layout of the base header for tables that begin with one.
  constexpr Layout(size_t size, std::span<const Member> members, Layout* header = nullptr)
      : size_(size), members_(members), header_(header), cache_(members) {}

  size_t size() const { return size_; }

  // Reads every field of `object` (not null) into `native`, which holds
  // size() bytes. A null base header leaves its bytes as they are. False,
  // with NoSuchFieldError pending, when the object's class lacks a field.
  bool read(JNIEnv* env, jobject object, unsigned char* native);
  // True when the class of `object` (not null) has every field; otherwise
  // NoSuchFieldError is pending.
  bool has_fields(JNIEnv* env, jobject object);
  // Writes every member of `native` into the fields of `object` (not null).
  bool write(JNIEnv* env, jobject object, const unsigned char* native);

 private:
  size_t size_;
  std::span<const Member> members_;
  Layout* header_;
  FieldCache cache_;
};

}  // namespace mirrors
