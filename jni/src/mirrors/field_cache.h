// The JNI field IDs of one member table, cached for the first Java class
// seen. An object of any other class (a subclass that hides a field, the
// same class from another loader) gets the IDs of its own class instead, so
// no object is ever read with another class's IDs. A class that lacks a
// field leaves the JVM's NoSuchFieldError pending.
#pragma once

#include <jni.h>

#include <atomic>
#include <span>

#include "mirrors/member_table.h"

namespace mirrors {

inline constexpr size_t kMaxMembers = 16;

struct FieldIds {
  jfieldID id[kMaxMembers];
};

class FieldCache {
 public:
  constexpr explicit FieldCache(std::span<const Member> members) : members_(members) {}
  FieldCache(const FieldCache&) = delete;
  FieldCache& operator=(const FieldCache&) = delete;

  // The IDs for the class of `object` (not null): the cached ones, or ones
  // looked up into `own`. Null when a field is missing.
  const jfieldID* ids_for(JNIEnv* env, jobject object, FieldIds& own);

 private:
  struct Entry {
    jweak cls;  // weak: the cache keeps no class (or its loader) alive
    FieldIds ids;
  };
  bool look_up(JNIEnv* env, jclass cls, FieldIds& ids) const;

  std::span<const Member> members_;
  // Filled once, by whichever first use publishes first; never freed, like
  // the field IDs it holds, until the library is unloaded.
  std::atomic<const Entry*> entry_{nullptr};
};

}  // namespace mirrors
