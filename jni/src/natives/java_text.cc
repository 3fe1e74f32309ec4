#include "natives/java_text.h"

#include <limits>
#include <memory>
#include <string>
#include <string_view>

#include "utils/text.h"

namespace natives {
namespace {

// ASCII without NUL, terminated at `length`: NewStringUTF reads it as is.
bool plain_ascii(const char* text, size_t length) {
  if (text[length] != '\0') return false;
  for (size_t i = 0; i < length; ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte == 0 || byte >= 0x80) return false;
  }
  return true;
}

struct UserFreeDeleter {
  void operator()(cef_string_utf8_t* string) const { cefvemo_cef_string_free(string); }
};

}  // namespace

jstring java_string(JNIEnv* env, const char* text, size_t length) {
  if (!text || length == 0) return env->NewStringUTF("");
  if (plain_ascii(text, length)) return env->NewStringUTF(text);
  const std::u16string units = utils::decode_utf16(std::string_view(text, length));
  if (units.size() > static_cast<size_t>(std::numeric_limits<jsize>::max())) {
    if (jclass oom = env->FindClass("java/lang/OutOfMemoryError")) {
      env->ThrowNew(oom, "text too long for a Java string");
      env->DeleteLocalRef(oom);
    }
    return nullptr;
  }
  return env->NewString(reinterpret_cast<const jchar*>(units.data()),
                        static_cast<jsize>(units.size()));
}

jstring take_user_free(JNIEnv* env, cef_string_userfree_utf8_t string) {
  const std::unique_ptr<cef_string_utf8_t, UserFreeDeleter> owner(string);
  if (!owner) return nullptr;
  return java_string(env, owner->str, owner->str ? owner->length : 0);
}

}  // namespace natives
