// Window positioning: SetWindowPos on Windows, the native window record's
// set_window_pos elsewhere (platform/native_window.h).
#pragma once

#include <cstdint>

namespace utils {

inline constexpr uint32_t kSwpNoZOrder = 4;

// SetWindowPos(window, null, x, y, width, height, flags); false when the
// window refused or is null.
bool set_window_pos(void* window, int x, int y, int width, int height, uint32_t flags);

}  // namespace utils
