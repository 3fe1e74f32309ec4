// Native windows on hosts without Win32.
//
// On Windows a window handle (HWND) is a Win32 window. Elsewhere it points
// to a zv_native_window: the toolkit's windows, and the child windows the
// engine makes for its browsers, are such records. The engine and the bridge
// library agree on this layout and nothing else: the bridge positions a
// window through its set_window_pos member, as it would call SetWindowPos,
// and anyone can read the geometry back.
#pragma once

#include <cstddef>
#include <cstdint>

extern "C" {

typedef struct _zv_native_window zv_native_window;

struct _zv_native_window {
  size_t size;  // sizeof(zv_native_window)
  zv_native_window* parent;
  uint32_t style;
  int x, y, width, height;  // relative to the parent
  int visible;
  int focused;
  // Moves and sizes the window; flags and their meaning as SetWindowPos's
  // (SWP_NOSIZE 1, SWP_NOMOVE 2, SWP_NOZORDER 4). Returns 1 on success.
  int (*set_window_pos)(zv_native_window* self, zv_native_window* insert_after, int x, int y,
                        int width, int height, uint32_t flags);
};

// SetWindowPos flags used by the system.
enum { ZV_SWP_NOSIZE = 1, ZV_SWP_NOMOVE = 2, ZV_SWP_NOZORDER = 4 };

// Applies a SetWindowPos request to a window record; for set_window_pos
// implementations.
inline int zv_native_window_apply(zv_native_window* w, int x, int y, int width, int height,
                                  uint32_t flags) {
  if (!w) return 0;
  if (!(flags & ZV_SWP_NOMOVE)) w->x = x, w->y = y;
  if (!(flags & ZV_SWP_NOSIZE)) w->width = width, w->height = height;
  return 1;
}

}  // extern "C"
