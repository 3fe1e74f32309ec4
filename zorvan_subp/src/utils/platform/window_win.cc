#include <windows.h>

#include "utils/platform/window.h"

namespace utils {

bool set_window_pos(void* window, int x, int y, int width, int height, uint32_t flags) {
  return SetWindowPos(static_cast<HWND>(window), nullptr, x, y, width, height, flags) != 0;
}

}  // namespace utils
