// Obtaining a browser's host and main frame, with the fatal stop for a
// missing member. Each returns an owner of the reference CEF hands out, or
// an empty owner when the member is missing (the fatal condition was then
// reported) or yields nothing.
#pragma once

#include "app/cef_ref.h"
#include "cef/cef_capi.h"
#include "utils/fatal.h"

namespace vemo {

inline CefRef<cef_browser_host_t> browser_host(cef_browser_t* browser) {
  if (!browser) return {};
  if (!browser->get_host) {
    utils::fatal("null get_host");
    return {};
  }
  return CefRef<cef_browser_host_t>::adopt(browser->get_host(browser));
}

inline CefRef<cef_frame_t> main_frame(cef_browser_t* browser) {
  if (!browser) return {};
  if (!browser->get_main_frame) {
    utils::fatal("null get_main_frame");
    return {};
  }
  return CefRef<cef_frame_t>::adopt(browser->get_main_frame(browser));
}

// Reports a missing member of a CEF structure; true when it is present.
template <class Member>
bool require(Member member, const char* message) {
  if (member) return true;
  utils::fatal(message);
  return false;
}

}  // namespace vemo
