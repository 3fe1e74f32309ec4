// Navigation and page content: load a URL (optionally as a request with a
// body and headers) or a text, move through history, read the URL and the
// source of the main frame, and the URL of a request.

#include <string>

#include "browser_access.h"
#include "header_string.h"
#include "host_strings.h"
#include "app/placeholder_url.h"
#include "utils/cef_string.h"
#include "utils/text.h"
#include "zorvan_vemo.h"

namespace {

// Builds the request of a navigation with a body or headers.
CefRef<cef_request_t> navigation_request(const cef_string_t* url, const void* post,
                                         uint64_t post_length, const char* headers,
                                         uint64_t header_count) {
  CefRef<cef_request_t> request = CefRef<cef_request_t>::adopt(cef_request_create());
  if (!request) return request;
  request->set_url(request.get(), url);

  if (post) {
    // Declared in this order so that the post data is released before the
    // element.
    const CefRef<cef_post_data_element_t> element =
        CefRef<cef_post_data_element_t>::adopt(cef_post_data_element_create());
    const CefRef<cef_post_data_t> post_data =
        CefRef<cef_post_data_t>::adopt(cef_post_data_create());
    if (post_data && element) {
      element->set_to_bytes(element.get(), post_length, post);
      post_data->add_element(post_data.get(), element.pass());
      request->set_post_data(request.get(), post_data.pass());
    }
  }

  if (headers) {
    cef_string_multimap_t map = cef_string_multimap_alloc();
    const utils::Text header_text = utils::str_from_c(headers);
    for (const auto& [name, value] : vemo::parse_header_string(header_text.view(), header_count)) {
      const utils::CefString name_string = utils::cef_string(name);
      const utils::CefString value_string = utils::cef_string(value);
      cef_string_multimap_append(map, name_string.get(), value_string.get());
    }
    request->set_header_map(request.get(), map);
    cef_string_multimap_free(map);
  }
  return request;
}

}  // namespace

extern "C" {

ZV_EXPORT void cefvemo_load_url(cef_browser_t* browser, const char* url, const void* post,
                                uint64_t post_length, const char* headers,
                                uint64_t header_count) {
  const utils::CefString url_string = utils::cef_string_from_c(url);
  const CefRef<cef_frame_t> frame = vemo::main_frame(browser);
  if (!frame) return;
  if (!post && !headers) {
    frame->load_url(frame.get(), url_string.get());
    return;
  }
  const CefRef<cef_request_t> request =
      navigation_request(url_string.get(), post, post_length, headers, header_count);
  if (request) frame->load_request(frame.get(), request.pass());
}

ZV_EXPORT void cefvemo_load_text(cef_browser_t* browser, const char* text) {
  const utils::CefString text_string = utils::cef_string_from_c(text);
  const utils::CefString url_string = utils::cef_string(app::kPlaceholderUrl);
  const CefRef<cef_frame_t> frame = vemo::main_frame(browser);
  if (!frame || !vemo::require(frame->load_string, "null load_string")) return;
  frame->load_string(frame.get(), text_string.get(), url_string.get());
}

ZV_EXPORT void cefvemo_stop(cef_browser_t* browser) {
  if (browser && vemo::require(browser->stop_load, "null stop_load")) browser->stop_load(browser);
}

ZV_EXPORT void cefvemo_reload(cef_browser_t* browser) {
  if (browser && vemo::require(browser->reload, "null reload")) browser->reload(browser);
}

ZV_EXPORT void cefvemo_go_back(cef_browser_t* browser) {
  if (browser && vemo::require(browser->go_back, "null go_back")) browser->go_back(browser);
}

ZV_EXPORT void cefvemo_go_forward(cef_browser_t* browser) {
  if (browser && vemo::require(browser->go_forward, "null go_forward"))
    browser->go_forward(browser);
}

ZV_EXPORT cef_string_userfree_utf8_t cefvemo_get_url(cef_browser_t* browser) {
  utils::UserFree8 result;
  const CefRef<cef_frame_t> frame = vemo::main_frame(browser);
  if (frame && vemo::require(frame->get_url, "null get_url")) {
    const utils::UserFree16 url(frame->get_url(frame.get()));
    result.assign(url.get());
  }
  return result.release();
}

ZV_EXPORT void cefvemo_get_text(cef_browser_t* browser, cef_string_visitor_t* visitor) {
  if (!utils::check_size("cef_string_visitor_t size", visitor, sizeof(cef_string_visitor_t)))
    return;
  const CefRef<cef_frame_t> frame = vemo::main_frame(browser);
  // The message names get_text, as the host's diagnostics expect, although
  // the member used is get_source: the page's HTML source.
  if (!frame || !vemo::require(frame->get_source, "null get_text")) return;
  frame->get_source(frame.get(), visitor);
}

ZV_EXPORT cef_string_userfree_utf8_t cefvemo_request_to_java(cef_request_t* request) {
  utils::UserFree8 result;
  if (request && vemo::require(request->get_url, "null get_url")) {
    const utils::UserFree16 url(request->get_url(request));
    result.assign(url.get());
  }
  return result.release();
}

}  // extern "C"
