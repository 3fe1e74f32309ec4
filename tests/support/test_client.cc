#include "support/test_client.h"

#include <algorithm>

#include "utils/cef_string.h"

namespace zvtest {
namespace {

template <class Handler>
TestClient& owner(void* self) {
  return *static_cast<Handler*>(Handler::of(self))->client;
}

// Handlers release the browser and frame references CEF hands them.
struct Held {
  void* a;
  void* b = nullptr;
  ~Held() {
    release(a);
    release(b);
  }
};

// A handler table of the client, with the reference a getter hands out.
template <auto Member>
auto* CEF_CALLBACK give(cef_client_t* self) {
  auto& handler = static_cast<TestClient*>(TestClient::of(self))->*Member;
  handler.refs++;
  return &handler.cef;
}

}  // namespace

TestLifeSpan::TestLifeSpan() {
  cef.on_after_created = [](cef_life_span_handler_t* self, cef_browser_t* browser) {
    Held held{browser};
    owner<TestLifeSpan>(self).events.push_back("after_created");
  };
  cef.do_close = [](cef_life_span_handler_t* self, cef_browser_t* browser) {
    Held held{browser};
    owner<TestLifeSpan>(self).events.push_back("do_close");
    return 0;
  };
  cef.on_before_close = [](cef_life_span_handler_t* self, cef_browser_t* browser) {
    Held held{browser};
    TestClient& c = owner<TestLifeSpan>(self);
    c.events.push_back("before_close");
    c.closed = true;
  };
}

TestLoad::TestLoad() {
  cef.on_loading_state_change = [](cef_load_handler_t* self, cef_browser_t* browser, int loading,
                                   int back, int forward) {
    Held held{browser};
    TestClient& c = owner<TestLoad>(self);
    c.loading = loading;
    c.events.push_back("loading " + std::to_string(loading) + " " + std::to_string(back) + " " +
                       std::to_string(forward));
  };
  cef.on_load_start = [](cef_load_handler_t* self, cef_browser_t* browser, cef_frame_t* frame,
                         cef_transition_type_t) {
    Held held{browser, frame};
    owner<TestLoad>(self).events.push_back("load_start");
  };
  cef.on_load_end = [](cef_load_handler_t* self, cef_browser_t* browser, cef_frame_t* frame,
                       int status) {
    Held held{browser, frame};
    TestClient& c = owner<TestLoad>(self);
    c.load_ends++;
    c.events.push_back("load_end " + std::to_string(status));
  };
  cef.on_load_error = [](cef_load_handler_t* self, cef_browser_t* browser, cef_frame_t* frame,
                         cef_errorcode_t error, const cef_string_t* text, const cef_string_t*) {
    Held held{browser, frame};
    TestClient& c = owner<TestLoad>(self);
    c.load_errors++;
    c.last_error = error;
    c.events.push_back("load_error " + std::to_string(error) + " " + utils::to_utf8(text));
  };
}

TestDisplay::TestDisplay() {
  cef.on_address_change = [](cef_display_handler_t* self, cef_browser_t* browser,
                             cef_frame_t* frame, const cef_string_t* url) {
    Held held{browser, frame};
    TestClient& c = owner<TestDisplay>(self);
    c.address = utils::to_utf8(url);
    c.events.push_back("address " + c.address);
  };
  cef.on_title_change = [](cef_display_handler_t* self, cef_browser_t* browser,
                           const cef_string_t* title) {
    Held held{browser};
    TestClient& c = owner<TestDisplay>(self);
    c.title = utils::to_utf8(title);
    c.events.push_back("title " + c.title);
  };
}

TestFocus::TestFocus() {
  cef.on_got_focus = [](cef_focus_handler_t* self, cef_browser_t* browser) {
    Held held{browser};
    owner<TestFocus>(self).events.push_back("got_focus");
  };
}

TestRequest::TestRequest() {
  cef.on_render_process_terminated = [](cef_request_handler_t* self, cef_browser_t* browser,
                                        cef_termination_status_t) {
    Held held{browser};
    TestClient& c = owner<TestRequest>(self);
    c.renderer_terminations++;
    c.events.push_back("renderer_terminated");
  };
}

TestClient::TestClient() {
  life_span.client = load.client = display.client = focus.client = request.client = this;
  cef.get_request_handler = &give<&TestClient::request>;
  cef.on_process_message_received = [](cef_client_t* self, cef_browser_t* browser,
                                       cef_frame_t* frame, cef_process_id_t,
                                       cef_process_message_t* message) {
    Held held{browser, frame};
    Held message_held{message};
    auto& c = *static_cast<TestClient*>(of(self));
    return c.on_message ? c.on_message(browser, message) : 0;
  };
  cef.get_life_span_handler = &give<&TestClient::life_span>;
  cef.get_load_handler = &give<&TestClient::load>;
  cef.get_display_handler = &give<&TestClient::display>;
  cef.get_focus_handler = &give<&TestClient::focus>;
}

bool TestClient::saw(const std::string& event) const {
  return std::find(events.begin(), events.end(), event) != events.end();
}

ParentWindow::ParentWindow() : zv_native_window{} {
  size = sizeof(zv_native_window);
  width = 1024;
  height = 768;
  visible = 1;
  set_window_pos = [](zv_native_window* self, zv_native_window*, int x, int y, int w, int h,
                      uint32_t flags) { return zv_native_window_apply(self, x, y, w, h, flags); };
}

}  // namespace zvtest
