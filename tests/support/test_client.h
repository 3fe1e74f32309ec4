// A client table like the Java host's: life-span, load, display and focus
// handlers that record what the engine tells them, releasing every
// reference they are given.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/native_window.h"
#include "support/test_object.h"

namespace zvtest {

struct TestClient;

struct TestLifeSpan : TestObject<cef_life_span_handler_t> {
  TestClient* client = nullptr;
  TestLifeSpan();
};
struct TestLoad : TestObject<cef_load_handler_t> {
  TestClient* client = nullptr;
  TestLoad();
};
struct TestDisplay : TestObject<cef_display_handler_t> {
  TestClient* client = nullptr;
  TestDisplay();
};
struct TestFocus : TestObject<cef_focus_handler_t> {
  TestClient* client = nullptr;
  TestFocus();
};

struct TestRequest : TestObject<cef_request_handler_t> {
  TestClient* client = nullptr;
  TestRequest();
};

struct TestClient : TestObject<cef_client_t> {
  TestLifeSpan life_span;
  TestLoad load;
  TestDisplay display;
  TestFocus focus;
  TestRequest request;

  // Serves process messages from the renderer as the Java host does; the
  // message is borrowed (the client releases it afterwards).
  std::function<int(cef_browser_t*, cef_process_message_t*)> on_message;
  int renderer_terminations = 0;

  // Events in order, e.g. "load_end 200", "title Hello", "before_close".
  std::vector<std::string> events;
  int load_ends = 0;
  int load_errors = 0;
  int last_error = 0;
  bool loading = false;
  std::string title;
  std::string address;
  bool closed = false;

  TestClient();
  bool saw(const std::string& event) const;
};

// A toolkit window for browsers to live in.
struct ParentWindow : zv_native_window {
  ParentWindow();
};

}  // namespace zvtest
