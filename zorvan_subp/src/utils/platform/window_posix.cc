#include "platform/native_window.h"
#include "utils/platform/window.h"

namespace utils {

bool set_window_pos(void* window, int x, int y, int width, int height, uint32_t flags) {
  auto* w = static_cast<zv_native_window*>(window);
  if (!w || !w->set_window_pos) return false;
  return w->set_window_pos(w, nullptr, x, y, width, height, flags) != 0;
}

}  // namespace utils
