// CEF string functions: UTF-16 and UTF-8 strings with destructors,
// user-free strings and their conversions.

#include <cstdlib>
#include <cstring>

#include "cef/cef_capi.h"
#include "string_util.h"

namespace cefwork {
namespace {

void CEF_CALLBACK free_utf16(cef_char16_t* str) { std::free(str); }
void CEF_CALLBACK free_utf8(char* str) { std::free(str); }

void append_utf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

}  // namespace

std::u16string utf8_to_utf16(std::string_view s, bool* valid) {
  std::u16string out;
  out.reserve(s.size());
  bool ok = true;
  size_t i = 0;
  while (i < s.size()) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) {
      out.push_back(b0);
      ++i;
      continue;
    }
    size_t len = 0;
    char32_t cp = 0, min = 0;
    if ((b0 & 0xE0) == 0xC0) len = 2, cp = b0 & 0x1F, min = 0x80;
    else if ((b0 & 0xF0) == 0xE0) len = 3, cp = b0 & 0x0F, min = 0x800;
    else if ((b0 & 0xF8) == 0xF0) len = 4, cp = b0 & 0x07, min = 0x10000;
    bool good = len != 0 && i + len <= s.size();
    for (size_t k = 1; good && k < len; ++k) {
      const auto b = static_cast<unsigned char>(s[i + k]);
      good = (b & 0xC0) == 0x80;
      cp = (cp << 6) | (b & 0x3F);
    }
    good = good && cp >= min && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF);
    if (!good) {
      out.push_back(0xFFFD);
      ok = false;
      ++i;
      continue;
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
    i += len;
  }
  if (valid) *valid = ok;
  return out;
}

std::string utf16_to_utf8(std::u16string_view s, bool* valid) {
  std::string out;
  out.reserve(s.size());
  bool ok = true;
  for (size_t i = 0; i < s.size(); ++i) {
    const char16_t u = s[i];
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
      append_utf8(out, 0x10000 + ((char32_t(u) - 0xD800) << 10) + (s[i + 1] - 0xDC00));
      ++i;
    } else if (u >= 0xD800 && u <= 0xDFFF) {
      append_utf8(out, 0xFFFD);
      ok = false;
    } else {
      append_utf8(out, u);
    }
  }
  if (valid) *valid = ok;
  return out;
}

std::u16string view(const cef_string_t* s) {
  if (!s || !s->str) return {};
  return std::u16string(s->str, s->length);
}

std::string to_utf8(const cef_string_t* s) { return utf16_to_utf8(view(s)); }

void assign(cef_string_t* out, std::u16string_view text) {
  cef_string_utf16_set(text.data(), text.size(), out, 1);
}

cef_string_userfree_t userfree(std::u16string_view text) {
  cef_string_userfree_t s = cef_string_userfree_utf16_alloc();
  assign(s, text);
  return s;
}

cef_string_userfree_t userfree(std::string_view utf8) { return userfree(utf8_to_utf16(utf8)); }

}  // namespace cefwork

using namespace cefwork;

extern "C" {

CEF_EXPORT int cef_string_utf16_set(const cef_char16_t* src, size_t src_len,
                                    cef_string_utf16_t* output, int copy) {
  if (!output) return 0;
  cef_string_utf16_clear(output);
  if (!src || src_len == 0) return 1;
  if (copy) {
    auto* buf = static_cast<cef_char16_t*>(std::malloc((src_len + 1) * sizeof(cef_char16_t)));
    if (!buf) return 0;
    std::memcpy(buf, src, src_len * sizeof(cef_char16_t));
    buf[src_len] = 0;
    output->str = buf;
    output->dtor = &free_utf16;
  } else {
    output->str = const_cast<cef_char16_t*>(src);
    output->dtor = nullptr;
  }
  output->length = src_len;
  return 1;
}

CEF_EXPORT int cef_string_utf8_set(const char* src, size_t src_len, cef_string_utf8_t* output,
                                   int copy) {
  if (!output) return 0;
  cef_string_utf8_clear(output);
  if (!src || src_len == 0) return 1;
  if (copy) {
    auto* buf = static_cast<char*>(std::malloc(src_len + 1));
    if (!buf) return 0;
    std::memcpy(buf, src, src_len);
    buf[src_len] = 0;
    output->str = buf;
    output->dtor = &free_utf8;
  } else {
    output->str = const_cast<char*>(src);
    output->dtor = nullptr;
  }
  output->length = src_len;
  return 1;
}

CEF_EXPORT void cef_string_utf16_clear(cef_string_utf16_t* str) {
  if (!str) return;
  if (str->dtor && str->str) str->dtor(str->str);
  *str = cef_string_utf16_t{};
}

CEF_EXPORT void cef_string_utf8_clear(cef_string_utf8_t* str) {
  if (!str) return;
  if (str->dtor && str->str) str->dtor(str->str);
  *str = cef_string_utf8_t{};
}

CEF_EXPORT int cef_string_utf16_cmp(const cef_string_utf16_t* a, const cef_string_utf16_t* b) {
  const std::u16string_view x = a && a->str ? std::u16string_view(a->str, a->length) : u"";
  const std::u16string_view y = b && b->str ? std::u16string_view(b->str, b->length) : u"";
  const int r = x.compare(y);
  return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

CEF_EXPORT int cef_string_utf8_to_utf16(const char* src, size_t src_len,
                                        cef_string_utf16_t* output) {
  bool valid = true;
  const std::u16string s = utf8_to_utf16(src ? std::string_view(src, src_len) : "", &valid);
  cef_string_utf16_set(s.data(), s.size(), output, 1);
  return valid ? 1 : 0;
}

CEF_EXPORT int cef_string_utf16_to_utf8(const cef_char16_t* src, size_t src_len,
                                        cef_string_utf8_t* output) {
  bool valid = true;
  const std::string s = utf16_to_utf8(src ? std::u16string_view(src, src_len) : u"", &valid);
  cef_string_utf8_set(s.data(), s.size(), output, 1);
  return valid ? 1 : 0;
}

CEF_EXPORT cef_string_userfree_utf16_t cef_string_userfree_utf16_alloc(void) {
  return static_cast<cef_string_userfree_utf16_t>(std::calloc(1, sizeof(cef_string_utf16_t)));
}

CEF_EXPORT void cef_string_userfree_utf16_free(cef_string_userfree_utf16_t str) {
  if (!str) return;
  cef_string_utf16_clear(str);
  std::free(str);
}

CEF_EXPORT cef_string_userfree_utf8_t cef_string_userfree_utf8_alloc(void) {
  return static_cast<cef_string_userfree_utf8_t>(std::calloc(1, sizeof(cef_string_utf8_t)));
}

CEF_EXPORT void cef_string_userfree_utf8_free(cef_string_userfree_utf8_t str) {
  if (!str) return;
  cef_string_utf8_clear(str);
  std::free(str);
}

}  // extern "C"
