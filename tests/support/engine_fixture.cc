#include "support/engine_fixture.h"

#include "cefwork/test_hooks_browser.h"

namespace zvtest {

void EngineTest::SetUp() {
  cefvemo_init(&app.cef, engine_dir().c_str(), ZV_SUBP_VERSION, 0);
  pump(1);
}

void EngineTest::TearDown() { cefvemo_shutdown(); }

cef_browser_t* EngineTest::open(TestClient& client, const std::string& url, int width,
                                int height) {
  cef_browser_t* browser =
      cefvemo_create_browser(&parent, url.c_str(), &client.cef, width, height, 1, 0xFFFFFFFF);
  if (browser && !url.empty()) {
    EXPECT_TRUE(pump_until([&] { return client.load_ends + client.load_errors > 0; }))
        << "first load of " << url;
  }
  return browser;
}

bool EngineTest::close_and_release(TestClient& client, cef_browser_t* browser) {
  const int id = cefvemo_get_id(browser);
  cefvemo_close_browser(browser, 0);
  EXPECT_TRUE(pump_until([&] { return client.closed; }));
  cefvemo_ref(browser, 0);
  return cefwork_test_browser_destroyed(id) == 1;
}

std::string EngineTest::take(cef_string_userfree_utf8_t string) {
  EXPECT_NE(string, nullptr) << "text-returning exports never return null";
  if (!string) return {};
  std::string text = string->str ? std::string(string->str, string->length) : std::string();
  cefvemo_cef_string_free(string);
  return text;
}

}  // namespace zvtest
