// Browsers over their whole life: a renderer that died is replaced on the
// next navigation, browsers created and closed in numbers leave no
// descriptors or browser objects behind (with every handler or none), and
// a renderer connection that ends while its browser closes is harmless.

#include <gtest/gtest.h>
#include <signal.h>

#include <dirent.h>

#include "cefwork/test_hooks_browser.h"
#include "support/engine_fixture.h"
#include "support/eval_recorder.h"
#include "support/http_server.h"

namespace {

using zvtest::EngineTest;
using zvtest::TestClient;

int open_descriptors() {
  int n = 0;
  if (DIR* d = opendir("/proc/self/fd")) {
    while (readdir(d)) ++n;
    closedir(d);
  }
  return n;
}

std::string eval(cef_browser_t* browser, const char* script) {
  zvtest::EvalRecorder recorder;
  recorder.activate();
  cefvemo_eval(browser, script, 0, &zvtest::EvalRecorder::callback);
  return recorder.values.size() == 1 ? recorder.values[0].text : "<none>";
}

bool page_ready(cef_browser_t* browser) {
  return browser->has_document(browser) && !browser->is_loading(browser);
}

class LifetimeTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    server.page("/a", "<html><head><title>A</title></head><body>a</body></html>");
  }
  zvtest::HttpServer server;
};

TEST_F(LifetimeTest, ADeadRendererIsReplacedOnTheNextNavigation) {
  for (const bool reload : {false, true}) {
    SCOPED_TRACE(reload ? "reload" : "load_url");
    TestClient client;
    cef_browser_t* browser = open(client, server.url("/a"));
    const int dead = cefwork_test_renderer_pid(browser);
    ASSERT_GT(dead, 0);
    kill(dead, SIGKILL);
    ASSERT_TRUE(zvtest::pump_until([&] { return client.renderer_terminations == 1; }));
    const int ends = client.load_ends;
    if (reload) {
      cefvemo_reload(browser);
    } else {
      cefvemo_load_url(browser, server.url("/a").c_str(), nullptr, 0, nullptr, 0);
    }
    ASSERT_TRUE(zvtest::pump_until([&] { return client.load_ends > ends && !client.loading; }));
    const int fresh = cefwork_test_renderer_pid(browser);
    EXPECT_GT(fresh, 0);
    EXPECT_NE(fresh, dead);
    EXPECT_EQ(eval(browser, "document.title + (6 * 7)"), "A42");
    EXPECT_EQ(client.renderer_terminations, 1);
    EXPECT_TRUE(close_and_release(client, browser));
  }
}

TEST_F(LifetimeTest, FiftyBrowsersLeaveNothingBehind) {
  // One browser first, so that what the process opens once (the network
  // library, the log) is counted in the baseline.
  {
    TestClient warm;
    EXPECT_TRUE(close_and_release(warm, open(warm, server.url("/a"))));
  }
  const int fds = open_descriptors();
  const int live = cefwork_test_live_browsers();
  for (const bool handlers : {true, false}) {
    SCOPED_TRACE(handlers ? "every handler" : "no handler");
    for (int i = 0; i < 50; ++i) {
      TestClient full;
      zvtest::TestObject<cef_client_t> bare;
      cef_client_t* client = handlers ? &full.cef : &bare.cef;
      cef_browser_t* browser = cefvemo_create_browser(&parent, server.url("/a").c_str(), client,
                                                      320, 240, 1, 0xFFFFFFFF);
      ASSERT_NE(browser, nullptr);
      ASSERT_TRUE(zvtest::pump_until([&] { return page_ready(browser); }));
      EXPECT_EQ(eval(browser, "document.title"), "A");
      const int id = cefvemo_get_id(browser);
      cefvemo_close_browser(browser, 0);
      cefvemo_ref(browser, 0);
      ASSERT_TRUE(zvtest::pump_until([&] { return cefwork_test_browser_destroyed(id) == 1; }))
          << "browser " << i << " never destroyed";
    }
    EXPECT_TRUE(zvtest::pump_until([&] {
      return open_descriptors() <= fds && cefwork_test_live_browsers() == live;
    })) << open_descriptors() << " descriptors against " << fds << ", "
        << cefwork_test_live_browsers() << " browsers against " << live;
  }
}

// The renderer's connection ends (it is killed) just as its browser is
// closed and its last reference dropped, in both orders; the browser
// process must not touch what the end of the connection destroyed.
TEST_F(LifetimeTest, ConnectionEndingWhileTheBrowserClosesIsSafe) {
  const int live = cefwork_test_live_browsers();
  for (int i = 0; i < 20; ++i) {
    zvtest::TestObject<cef_client_t> bare;
    cef_browser_t* browser = cefvemo_create_browser(&parent, "", &bare.cef, 10, 10, 1, 0);
    cefvemo_load_text(browser, "<html>x</html>");
    ASSERT_TRUE(zvtest::pump_until([&] { return page_ready(browser); }));
    const int pid = cefwork_test_renderer_pid(browser);
    const int id = cefvemo_get_id(browser);
    if (i % 2) kill(pid, SIGKILL);
    cefvemo_close_browser(browser, 1);
    cefvemo_ref(browser, 0);
    if (i % 2 == 0) kill(pid, SIGKILL);
    ASSERT_TRUE(zvtest::pump_until([&] { return cefwork_test_browser_destroyed(id) == 1; }));
  }
  EXPECT_EQ(cefwork_test_live_browsers(), live);
}

}  // namespace
