#include "mirrors/layout.h"

#include <cstdint>
#include <cstring>

#include "jni_scoped.h"

namespace mirrors {
namespace {

template <typename T>
void store(unsigned char* at, T value) {
  std::memcpy(at, &value, sizeof value);
}

template <typename T>
T load(const unsigned char* at) {
  T value;
  std::memcpy(&value, at, sizeof value);
  return value;
}

}  // namespace

bool Layout::read(JNIEnv* env, jobject object, unsigned char* native) {
  FieldIds own;
  const jfieldID* ids = cache_.ids_for(env, object, own);
  if (!ids) return false;
  for (size_t i = 0; i < members_.size(); ++i) {
    const Member& m = members_[i];
    unsigned char* at = native + m.offset;
    switch (m.type) {
      case 'I': {
        const jint value = env->GetIntField(object, ids[i]);
        if (m.size == 8) {
          store<int64_t>(at, value);
        } else {
          store<int32_t>(at, value);
        }
        break;
      }
      case 'J': store<int64_t>(at, env->GetLongField(object, ids[i])); break;
      case 'C': store<uint16_t>(at, env->GetCharField(object, ids[i])); break;
      case 'L': {
        const jni::LocalRef<jobject> header(env, env->GetObjectField(object, ids[i]));
        if (header && !header_->read(env, header.get(), at)) return false;
        break;
      }
    }
  }
  return true;
}

bool Layout::has_fields(JNIEnv* env, jobject object) {
  FieldIds own;
  return cache_.ids_for(env, object, own) != nullptr;
}

bool Layout::write(JNIEnv* env, jobject object, const unsigned char* native) {
  FieldIds own;
  const jfieldID* ids = cache_.ids_for(env, object, own);
  if (!ids) return false;
  for (size_t i = 0; i < members_.size(); ++i) {
    const Member& m = members_[i];
    const unsigned char* at = native + m.offset;
    switch (m.type) {
      case 'I': {
        const jint value = m.size == 8 ? static_cast<jint>(load<uint64_t>(at) & 0xFFFFFFFFu)
                                       : load<int32_t>(at);
        env->SetIntField(object, ids[i], value);
        break;
      }
      case 'J': env->SetLongField(object, ids[i], load<int64_t>(at)); break;
      case 'C': env->SetCharField(object, ids[i], load<uint16_t>(at)); break;
      case 'L': break;  // no table copied to Java holds a header
    }
  }
  return true;
}

}  // namespace mirrors
