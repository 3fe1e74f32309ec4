// Browser views: browsers whose native window is a child of a toolkit
// window; resizing, focus, closing, reference counting and identity.

#include "app/ref_count.h"
#include "browser_access.h"
#include "utils/cef_string.h"
#include "utils/platform/window.h"
#include "zorvan_vemo.h"

namespace {

// WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_TABSTOP
constexpr uint32_t kChildWindowStyle = 0x56010000;

}  // namespace

extern "C" {

ZV_EXPORT cef_browser_t* cefvemo_create_browser(cef_window_handle_t parent, const char* url,
                                                cef_client_t* client, int32_t width,
                                                int32_t height, int32_t javascript,
                                                cef_color_t background) {
  if (!utils::check_size("cef_client_t size", client, sizeof(cef_client_t))) return nullptr;
  const utils::CefString url_string = utils::cef_string_from_c(url);

  cef_window_info_t window_info{};
  window_info.ex_style = 0;
  window_info.window_name = cef_string_t{};
  window_info.style = kChildWindowStyle;
  window_info.x = 0;
  window_info.y = 0;
  window_info.width = width;
  window_info.height = height;
  window_info.parent_window = parent;

  // Every member not named here is 0 or empty: CEF's default.
  cef_browser_settings_t settings{};
  settings.size = sizeof(cef_browser_settings_t);
  settings.javascript = javascript == 0 ? STATE_DISABLED : STATE_DEFAULT;
  settings.universal_access_from_file_urls = STATE_ENABLED;
  settings.file_access_from_file_urls = STATE_ENABLED;
  settings.background_color = background;

  // The client goes to CEF as received; the returned browser carries the one
  // reference that becomes the Java host's.
  cef_browser_t* browser = cef_browser_host_create_browser_sync(&window_info, client,
                                                                url_string.get(), &settings,
                                                                nullptr, nullptr);
  if (!browser) return nullptr;  // CEF made no browser: nothing to check or read
  if (!utils::check_size("cef_browser_t size", browser, sizeof(cef_browser_t))) return nullptr;
  return browser;
}

ZV_EXPORT void cefvemo_set_window_info_parent(cef_window_info_t* window_info,
                                              cef_client_t** client_slot, cef_client_t* client,
                                              cef_window_handle_t parent, int32_t x, int32_t y,
                                              int32_t width, int32_t height) {
  if (window_info) {
    if (x != 0) window_info->x = x;
    if (y != 0) window_info->y = y;
    if (width != 0) window_info->width = width;
    if (height != 0) window_info->height = height;
    window_info->parent_window = parent;
    if (parent) window_info->style = kChildWindowStyle;
    window_info->ex_style = 0;
    window_info->window_name = cef_string_t{};  // no destructor runs on CEF's old value
    window_info->menu = nullptr;
    window_info->windowless_rendering_enabled = 0;
    window_info->window = nullptr;
  }
  if (client_slot) *client_slot = client;
}

ZV_EXPORT void cefvemo_resized(cef_browser_t* browser, int32_t width, int32_t height) {
  const CefRef<cef_browser_host_t> host = vemo::browser_host(browser);
  if (!host || !vemo::require(host->get_window_handle, "no get_window_handle")) return;
  utils::set_window_pos(host->get_window_handle(host.get()), 0, 0, width, height,
                        utils::kSwpNoZOrder);
}

ZV_EXPORT void cefvemo_close_browser(cef_browser_t* browser, int32_t force) {
  const CefRef<cef_browser_host_t> host = vemo::browser_host(browser);
  if (!host || !vemo::require(host->close_browser, "null close_browser")) return;
  host->close_browser(host.get(), force);
}

ZV_EXPORT void cefvemo_set_focus(cef_browser_t* browser, uint8_t focus) {
  const CefRef<cef_browser_host_t> host = vemo::browser_host(browser);
  if (!host || !vemo::require(host->set_focus, "null set_focus")) return;
  host->set_focus(host.get(), focus ? 1 : 0);
}

ZV_EXPORT int32_t cefvemo_ref(cef_browser_t* browser, int32_t add) {
  if (!browser) return 1;
  if (add == 1) {
    if (vemo::require(browser->base.add_ref, "missing add_ref")) Base::add_ref(browser);
  } else {
    if (vemo::require(browser->base.release, "missing release")) Base::release(browser);
  }
  return 1;
}

ZV_EXPORT void cefvemo_free(cef_browser_t* browser) {
  utils::check_size("cef_browser_t size", browser, sizeof(cef_browser_t));
}

ZV_EXPORT int32_t cefvemo_get_id(cef_browser_t* browser) {
  if (!browser || !vemo::require(browser->get_identifier, "missing get_identifier")) return 0;
  return browser->get_identifier(browser);
}

ZV_EXPORT int32_t cefvemo_is_same(cef_browser_t* browser, cef_browser_t* other) {
  if (!browser || !vemo::require(browser->is_same, "missing is_same")) return 0;
  // CEF takes over the reference of an object passed to it as an argument.
  return browser->is_same(browser, pass_borrowed(other));
}

ZV_EXPORT int32_t cefvemo_is_main_frame(cef_frame_t* frame) {
  if (!frame || !vemo::require(frame->is_main, "null is_main")) return 0;
  return frame->is_main(frame);
}

}  // extern "C"
