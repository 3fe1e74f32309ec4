// Demo host: plays the Java host's part with C++ handler tables. It serves a
// page on loopback, starts the engine (adding a command-line switch while
// CEF processes its command line), opens a browser on the page in a toolkit
// window, pumps the message loop whenever the engine asks for work, prints
// what the page reports, closes the browser and shuts down.

#include <httplib.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "platform/native_window.h"
#include "utils/cef_string.h"
#include "zorvan_vemo.h"

namespace {

std::atomic<int> pump_requests{0};
bool context_ready = false;
bool page_loaded = false;
bool closed = false;
std::string title;

void noop_add_ref(cef_base_ref_counted_t*) {}
int noop_release(cef_base_ref_counted_t*) { return 0; }
int yes(cef_base_ref_counted_t*) { return 1; }

// The demo's tables live for the whole run; their counts are not kept.
template <class T>
void init_base(T& table) {
  table.base.size = sizeof(T);
  table.base.add_ref = noop_add_ref;
  table.base.release = noop_release;
  table.base.has_one_ref = yes;
  table.base.has_at_least_one_ref = yes;
}

void release(void* object) {
  if (auto* base = static_cast<cef_base_ref_counted_t*>(object)) base->release(base);
}

cef_browser_process_handler_t process_handler{};
cef_app_t app{};
cef_load_handler_t load_handler{};
cef_display_handler_t display_handler{};
cef_life_span_handler_t life_span_handler{};
cef_client_t client{};

// The host function the page calls: hostGreeting(name) answers
// "Hello, <name>!".
int CEF_CALLBACK on_process_message(cef_client_t*, cef_browser_t* browser, cef_frame_t* frame,
                                    cef_process_id_t, cef_process_message_t* message) {
  FunctionSt call{};
  cefvemo_function_id(message, &call);
  int handled = 0;
  if (call.id == 1 && call.args == 1) {
    static std::string argument;
    cefvemo_function_arg(message, 0, [](int32_t, int32_t, const char* text) {
      argument = text ? text : "";
    });
    const std::string answer = "Hello, " + argument + "!";
    std::printf("demo: page called hostGreeting(\"%s\")\n", argument.c_str());
    cefvemo_function_return(browser, call.id, call.port, 2, answer.c_str());
    handled = 1;
  }
  release(message);
  release(frame);
  release(browser);
  return handled;
}

void set_up_tables() {
  init_base(process_handler);
  process_handler.on_context_initialized = [](cef_browser_process_handler_t*) {
    context_ready = true;
  };
  process_handler.on_schedule_message_pump_work = [](cef_browser_process_handler_t*, int64_t) {
    ++pump_requests;
  };
  init_base(app);
  app.on_before_command_line_processing = [](cef_app_t*, const cef_string_t*,
                                             cef_command_line_t* line) {
    cefvemo_set_command(line, "disable-gpu", nullptr);
    release(line);
  };
  app.get_browser_process_handler = [](cef_app_t*) { return &process_handler; };

  init_base(load_handler);
  load_handler.on_load_end = [](cef_load_handler_t*, cef_browser_t* browser, cef_frame_t* frame,
                                int status) {
    if (cefvemo_is_main_frame(frame)) {
      std::printf("demo: main frame loaded, HTTP status %d\n", status);
      page_loaded = true;
    }
    release(frame);
    release(browser);
  };
  init_base(display_handler);
  display_handler.on_title_change = [](cef_display_handler_t*, cef_browser_t* browser,
                                       const cef_string_t* text) {
    title = utils::to_utf8(text);
    release(browser);
  };
  init_base(life_span_handler);
  life_span_handler.on_before_close = [](cef_life_span_handler_t*, cef_browser_t* browser) {
    closed = true;
    release(browser);
  };
  init_base(client);
  client.get_load_handler = [](cef_client_t*) { return &load_handler; };
  client.get_display_handler = [](cef_client_t*) { return &display_handler; };
  client.get_life_span_handler = [](cef_client_t*) { return &life_span_handler; };
  client.on_process_message_received = &on_process_message;
}

// The host's event loop: run a unit of work whenever the engine asked for
// one, until `done` or a deadline.
template <class Done>
int run_until(Done done) {
  int units = 0;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!done() && std::chrono::steady_clock::now() < deadline) {
    if (pump_requests.exchange(0) > 0) {
      cefvemo_do_message_loop_work();
      ++units;
    } else {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }
  return units;
}

std::string take(cef_string_userfree_utf8_t s) {
  std::string text = s && s->str ? s->str : "";
  cefvemo_cef_string_free(s);
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string engine_dir = argc > 1 ? argv[1] : ".";
  set_up_tables();

  httplib::Server server;
  server.Get("/", [](const httplib::Request&, httplib::Response& response) {
    response.set_content(
        "<html><head><title>Zorvan demo page</title></head><body><p>Hello</p>"
        "<script>window.greeting = hostGreeting('page');</script></body></html>",
        "text/html");
  });
  const int port = server.bind_to_any_port("127.0.0.1");
  std::thread server_thread([&] { server.listen_after_bind(); });
  const std::string url = "http://127.0.0.1:" + std::to_string(port) + "/";

  std::printf("demo: starting the engine in %s\n", engine_dir.c_str());
  cefvemo_init(&app, engine_dir.c_str(), ZV_SUBP_VERSION, -2);
  int units = run_until([] { return context_ready; });
  std::printf("demo: context initialised after %d unit(s) of work\n", units);

  zv_native_window window{};
  window.size = sizeof(window);
  window.width = 800;
  window.height = 600;
  window.visible = 1;
  window.set_window_pos = [](zv_native_window* self, zv_native_window*, int x, int y, int w,
                             int h, uint32_t flags) {
    return zv_native_window_apply(self, x, y, w, h, flags);
  };
  cef_browser_t* browser = cefvemo_create_browser(&window, "", &client, 800, 600, 1, 0);
  // Registered before the page loads: the page's own script calls it.
  cefvemo_function(browser, "hostGreeting", 1);
  cefvemo_load_url(browser, url.c_str(), nullptr, 0, nullptr, 0);
  std::printf("demo: browser %d opened on %s\n", cefvemo_get_id(browser), url.c_str());
  units = run_until([] { return page_loaded; });
  std::printf("demo: after %d unit(s): URL %s, title \"%s\"\n", units,
              take(cefvemo_get_url(browser)).c_str(), title.c_str());

  static std::string value;
  static int kind = -1;
  const int ok = cefvemo_eval(browser, "document.title + ' / ' + window.greeting + ' / ' + (6 * 7)",
                              0, [](int32_t flag, int32_t k, const char* text) {
                                if (flag == 0) kind = k, value = text ? text : "";
                              });
  std::printf("demo: eval %s: kind %d, value \"%s\"\n", ok ? "done" : "failed", kind,
              value.c_str());

  cefvemo_close_browser(browser, 0);
  run_until([] { return closed; });
  cefvemo_ref(browser, 0);
  std::printf("demo: browser closed\n");
  cefvemo_shutdown();
  server.stop();
  server_thread.join();
  std::printf("demo: engine shut down; log in %s/lib.log\n", engine_dir.c_str());
  return page_loaded && closed && ok ? 0 : 1;
}
