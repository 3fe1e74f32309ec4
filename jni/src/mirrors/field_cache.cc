#include "mirrors/field_cache.h"

#include "jni_scoped.h"

namespace mirrors {
namespace {

constexpr const char* kBaseDescriptor = "Lorg/tessal/vemo/internal/zorvan/lib/cef_base_ref_counted_t;";

const char* descriptor(char type) {
  switch (type) {
    case 'I': return "I";
    case 'J': return "J";
    case 'C': return "C";
    default: return kBaseDescriptor;
  }
}

}  // namespace

bool FieldCache::look_up(JNIEnv* env, jclass cls, FieldIds& ids) const {
  for (size_t i = 0; i < members_.size(); ++i) {
    ids.id[i] = env->GetFieldID(cls, members_[i].name, descriptor(members_[i].type));
    if (!ids.id[i]) return false;  // GetFieldID has thrown NoSuchFieldError
  }
  return true;
}

const jfieldID* FieldCache::ids_for(JNIEnv* env, jobject object, FieldIds& own) {
  const jni::LocalRef<jclass> cls(env, env->GetObjectClass(object));
  const Entry* entry = entry_.load(std::memory_order_acquire);
  if (entry && env->IsSameObject(entry->cls, cls.get())) return entry->ids.id;
  if (!look_up(env, cls.get(), own)) return nullptr;
  if (!entry) {
    // The first class seen becomes the cached one; of concurrent first uses
    // one publishes and the others drop their copies.
    auto* fresh = new Entry{env->NewWeakGlobalRef(cls.get()), own};
    const Entry* expected = nullptr;
    if (!fresh->cls || !entry_.compare_exchange_strong(expected, fresh, std::memory_order_acq_rel)) {
      if (fresh->cls) env->DeleteWeakGlobalRef(fresh->cls);
      delete fresh;
    }
  }
  return own.id;
}

}  // namespace mirrors
