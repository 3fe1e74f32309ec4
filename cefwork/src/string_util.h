// UTF conversions and CEF string helpers inside the work-alike.
#pragma once

#include <string>
#include <string_view>

#include "cef/cef_capi.h"

namespace cefwork {

// Invalid input becomes U+FFFD; the flag tells whether all of it was valid.
std::u16string utf8_to_utf16(std::string_view utf8, bool* valid = nullptr);
std::string utf16_to_utf8(std::u16string_view utf16, bool* valid = nullptr);

std::u16string view(const cef_string_t* s);
std::string to_utf8(const cef_string_t* s);
// A new user-free string holding `text`, as CEF returns them.
cef_string_userfree_t userfree(std::u16string_view text);
cef_string_userfree_t userfree(std::string_view utf8);
// Fills `out` (cleared first) with a copy of `text`.
void assign(cef_string_t* out, std::u16string_view text);

}  // namespace cefwork
