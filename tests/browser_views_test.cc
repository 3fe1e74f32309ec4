// Browser views through the real bridge and engine: window, settings,
// resizing, focus, closing, reference counting and identity.

#include <gtest/gtest.h>

#include "cefwork/test_hooks_browser.h"
#include "support/engine_fixture.h"
#include "support/http_server.h"

namespace {

using zvtest::EngineTest;
using zvtest::TestClient;

zv_native_window* window_of(cef_browser_t* browser) {
  cef_browser_host_t* host = browser->get_host(browser);
  auto* window = static_cast<zv_native_window*>(host->get_window_handle(host));
  zvtest::release(host);
  return window;
}

TEST_F(EngineTest, CreatesAChildWindowWithTheSystemStyleAndSettings) {
  zvtest::HttpServer server;
  server.page("/", "<html><head><title>Hello</title></head><body>hi</body></html>");
  TestClient client;
  cef_browser_t* browser = open(client, server.url("/"), 640, 480);
  ASSERT_NE(browser, nullptr);
  EXPECT_EQ(browser->base.size, 200u);

  const zv_native_window* window = window_of(browser);
  EXPECT_EQ(window->parent, &parent);
  EXPECT_EQ(window->style, 0x56010000u);
  EXPECT_EQ(window->x, 0);
  EXPECT_EQ(window->y, 0);
  EXPECT_EQ(window->width, 640);
  EXPECT_EQ(window->height, 480);
  EXPECT_EQ(window->visible, 1);

  const cef_browser_settings_t* s = cefwork_test_browser_settings(browser);
  EXPECT_EQ(s->size, 296u);
  EXPECT_EQ(s->javascript, STATE_DEFAULT);
  EXPECT_EQ(s->universal_access_from_file_urls, STATE_ENABLED);
  EXPECT_EQ(s->file_access_from_file_urls, STATE_ENABLED);
  EXPECT_EQ(s->background_color, 0xFFFFFFFFu);
  EXPECT_EQ(s->web_security, STATE_DEFAULT);
  EXPECT_EQ(s->windowless_frame_rate, 0);

  EXPECT_EQ(client.events.front(), "loading 1 0 0");
  EXPECT_TRUE(client.saw("after_created"));
  EXPECT_TRUE(client.saw("title Hello"));
  EXPECT_TRUE(client.saw("load_end 200"));
  EXPECT_TRUE(close_and_release(client, browser));
}

TEST_F(EngineTest, JavaScriptArgumentAndNullUrl) {
  for (int javascript : {0, 1, -1}) {
    TestClient client;
    cef_browser_t* browser =
        cefvemo_create_browser(&parent, nullptr, &client.cef, 10, 10, javascript, 0);
    ASSERT_NE(browser, nullptr);
    EXPECT_EQ(cefwork_test_browser_settings(browser)->javascript,
              javascript == 0 ? STATE_DISABLED : STATE_DEFAULT);
    EXPECT_EQ(take(cefvemo_get_url(browser)), "") << "a null URL opens nothing";
    EXPECT_TRUE(close_and_release(client, browser));
  }
}

TEST_F(EngineTest, ResizeFocusAndCloseReachTheWindowAndHandlers) {
  TestClient client;
  cef_browser_t* browser = open(client, "");
  zv_native_window* window = window_of(browser);

  cefvemo_resized(browser, 300, 200);
  EXPECT_EQ(window->width, 300);
  EXPECT_EQ(window->height, 200);
  window->x = 5;  // the window is put back at the parent's origin
  cefvemo_resized(browser, 0, 0);
  EXPECT_EQ(window->x, 0);
  EXPECT_EQ(window->width, 0);
  EXPECT_EQ(window->height, 0);

  cefvemo_set_focus(browser, 7);  // any non-zero byte gives focus
  EXPECT_EQ(window->focused, 1);
  EXPECT_TRUE(zvtest::pump_until([&] { return client.saw("got_focus"); }));
  cefvemo_set_focus(browser, 0);
  EXPECT_EQ(window->focused, 0);

  const int id = cefvemo_get_id(browser);
  cefvemo_close_browser(browser, 1);
  EXPECT_TRUE(zvtest::pump_until([&] { return client.closed; }));
  EXPECT_EQ(window->visible, 0);
  const auto do_close = std::find(client.events.begin(), client.events.end(), "do_close");
  const auto before_close = std::find(client.events.begin(), client.events.end(), "before_close");
  EXPECT_LT(do_close, before_close);
  EXPECT_EQ(cefwork_test_browser_destroyed(id), 0) << "the host still holds its reference";
  cefvemo_ref(browser, 0);
  EXPECT_EQ(cefwork_test_browser_destroyed(id), 1);
}

TEST_F(EngineTest, ReferenceCountingEndsInDestruction) {
  TestClient client;
  cef_browser_t* browser = open(client, "");
  const int id = cefvemo_get_id(browser);
  EXPECT_EQ(cefvemo_ref(browser, 1), 1);
  EXPECT_EQ(cefvemo_ref(browser, 1), 1);
  EXPECT_EQ(cefvemo_ref(browser, 2), 1) << "only 1 adds; 2 releases";
  EXPECT_EQ(cefvemo_ref(browser, 0), 1);
  cefvemo_free(browser);  // checks the handle, releases nothing
  cefvemo_close_browser(browser, 0);
  ASSERT_TRUE(zvtest::pump_until([&] { return client.closed; }));
  EXPECT_EQ(cefwork_test_browser_destroyed(id), 0);
  cefvemo_ref(browser, 0);
  EXPECT_EQ(cefwork_test_browser_destroyed(id), 1);
  EXPECT_EQ(cefwork_test_live_browsers(), 0);
}

TEST_F(EngineTest, IdentityAndComparison) {
  TestClient a_client, b_client;
  cef_browser_t* a = open(a_client, "");
  cef_browser_t* b = open(b_client, "");
  EXPECT_GT(cefvemo_get_id(a), 0);
  EXPECT_NE(cefvemo_get_id(a), cefvemo_get_id(b));
  for (int i = 0; i < 3; ++i) {  // each call hands CEF a reference of its own
    EXPECT_EQ(cefvemo_is_same(a, a), 1);
    EXPECT_EQ(cefvemo_is_same(a, b), 0);
  }
  cef_frame_t* frame = a->get_main_frame(a);
  EXPECT_EQ(cefvemo_is_main_frame(frame), 1);
  zvtest::release(frame);
  // Comparisons left the counts balanced: both are destroyed at the end.
  EXPECT_TRUE(close_and_release(a_client, a));
  EXPECT_TRUE(close_and_release(b_client, b));
}

int window_name_dtor_calls = 0;

TEST(PopupWindowInfo, RewritesOnlyWhatTheHostGives) {
  struct Case {
    int x, y, width, height;
    bool parent;
    int expect_x, expect_y, expect_width, expect_height;
    uint32_t expect_style;
  } cases[] = {
      {0, 0, 800, 0, true, 11, 12, 800, 14, 0x56010000},
      {5, 6, 7, 8, true, 5, 6, 7, 8, 0x56010000},
      {0, 0, 0, 0, false, 11, 12, 13, 14, 0x80000000},  // null parent: CEF's style stays
  };
  zvtest::ParentWindow parent;
  zvtest::TestClient client;
  for (const Case& c : cases) {
    cef_window_info_t info{};
    info.ex_style = 0x100;
    info.style = 0x80000000;
    info.x = 11, info.y = 12, info.width = 13, info.height = 14;
    static cef_char16_t name[] = u"popup";
    info.window_name = {name, 5, [](cef_char16_t*) { ++window_name_dtor_calls; }};
    info.menu = reinterpret_cast<cef_menu_handle_t>(0x1);
    info.windowless_rendering_enabled = 1;
    info.shared_texture_enabled = 1;
    info.external_begin_frame_enabled = 1;
    info.window = reinterpret_cast<cef_window_handle_t>(0x2);
    cef_client_t* slot = nullptr;
    cefvemo_set_window_info_parent(&info, &slot, &client.cef, c.parent ? &parent : nullptr, c.x,
                                   c.y, c.width, c.height);
    EXPECT_EQ(info.x, c.expect_x);
    EXPECT_EQ(info.y, c.expect_y);
    EXPECT_EQ(info.width, c.expect_width);
    EXPECT_EQ(info.height, c.expect_height);
    EXPECT_EQ(info.style, c.expect_style);
    EXPECT_EQ(info.parent_window, c.parent ? &parent : nullptr);
    EXPECT_EQ(info.ex_style, 0u);
    EXPECT_EQ(info.window_name.str, nullptr);
    EXPECT_EQ(info.window_name.length, 0u);
    EXPECT_EQ(info.window_name.dtor, nullptr);
    EXPECT_EQ(info.menu, nullptr);
    EXPECT_EQ(info.windowless_rendering_enabled, 0);
    EXPECT_EQ(info.shared_texture_enabled, 1);
    EXPECT_EQ(info.external_begin_frame_enabled, 1);
    EXPECT_EQ(info.window, nullptr);
    EXPECT_EQ(slot, &client.cef);
  }
  EXPECT_EQ(window_name_dtor_calls, 0);
}

TEST(BrowserViews, NoBrowserBeforeTheEngineStarts) {
  zvtest::ParentWindow parent;
  zvtest::TestClient client;
  EXPECT_EQ(cefvemo_create_browser(&parent, "about:blank", &client.cef, 1, 1, 1, 0), nullptr);
}

TEST_F(EngineTest, MalformedStructuresAreFatal) {
  TestClient client;
  client.cef.base.size = 159;
  EXPECT_DEATH(cefvemo_create_browser(&parent, "", &client.cef, 1, 1, 1, 0),
               "left: 159\n right: 160");
  cef_browser_t fake{};
  fake.base.size = 199;
  EXPECT_DEATH(cefvemo_free(&fake), "left: 199\n right: 200");
  EXPECT_DEATH(cefvemo_resized(&fake, 1, 1), "null get_host");
  EXPECT_DEATH(cefvemo_stop(&fake), "null stop_load");
  EXPECT_DEATH(cefvemo_get_url(&fake), "null get_main_frame");
  cef_frame_t frame{};
  EXPECT_DEATH(cefvemo_is_main_frame(&frame), "null is_main");
}

}  // namespace
