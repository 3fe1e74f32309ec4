// Navigation and page content through the real bridge and engine, against
// an HTTP server on loopback: requests with bodies and headers, history,
// reload, stop, load errors, URLs and page source.

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <unistd.h>

#include "support/engine_fixture.h"
#include "support/http_server.h"
#include "utils/cef_string.h"

namespace {

using zvtest::EngineTest;
using zvtest::HttpServer;
using zvtest::TestClient;

class NavigationTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    server.page("/a", "<html><head><title>Page A</title></head><body><p>a</p></body></html>");
    server.page("/b", "<html><head><title>Page B</title></head><body><p>b</p></body></html>");
    server.page("/echo", "<html><head><title>Echo</title></head><body></body></html>");
  }

  // Starts a navigation and waits for its load to end.
  void load_and_wait(cef_browser_t* browser, TestClient& client, const std::string& url,
                     const void* post = nullptr, uint64_t post_length = 0,
                     const char* headers = nullptr, uint64_t count = 0) {
    const int before = client.load_ends + client.load_errors;
    cefvemo_load_url(browser, url.c_str(), post, post_length, headers, count);
    ASSERT_TRUE(zvtest::pump_until([&] {
      return client.load_ends + client.load_errors > before && !client.loading;
    })) << url;
  }

  HttpServer server;
};

TEST_F(NavigationTest, LoadUrlWithoutBodyOrHeadersIsAPlainGet) {
  TestClient client;
  cef_browser_t* browser = open(client, server.url("/a"));
  load_and_wait(browser, client, server.url("/b"));
  const auto requests = server.requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[1].method, "GET");
  EXPECT_EQ(requests[1].path, "/b");
  EXPECT_EQ(requests[1].body, "");
  EXPECT_TRUE(requests[1].header_values("Content-Length").empty());
  EXPECT_EQ(take(cefvemo_get_url(browser)), server.url("/b"));
  EXPECT_EQ(client.title, "Page B");
  EXPECT_EQ(client.address, server.url("/b"));
  EXPECT_TRUE(close_and_release(client, browser));
}

TEST_F(NavigationTest, BodiesAndHeaderStringsArriveAsGiven) {
  using Headers = std::vector<std::pair<std::string, std::vector<std::string>>>;
  struct Case {
    const char* name;
    const char* body;  // null: no post data
    size_t body_length;
    const char* headers;
    uint64_t count;
    Headers expected;  // header name and every value it must arrive with
  } cases[] = {
      {"body only", "a=1&b=two", 9, nullptr, 0, {}},
      {"binary body", "x\0y\xFFz", 5, nullptr, 0, {}},
      {"zero-length body", "", 0, nullptr, 0, {{"Content-Length", {"0"}}}},
      {"count 0 sends no header", nullptr, 0, "X-Zero: 1", 0, {{"X-Zero", {}}}},
      {"inner colons stay in the value", nullptr, 0, "X-One: 1::X-Two: a:b:c", 2,
       {{"X-One", {"1"}}, {"X-Two", {"a:b:c"}}}},
      {"the last segment takes the rest", nullptr, 0, "X-A: 1::X-B: 2::X-C: 3", 2,
       {{"X-A", {"1"}}, {"X-B", {"2::X-C: 3"}}, {"X-C", {}}}},
      {"blanks are trimmed", "p", 1, "  X-Pad \t:   v w  ", 1, {{"X-Pad", {"v w"}}}},
      {"duplicates are kept", nullptr, 0, "X-D: 1::X-D: 2", 2, {{"X-D", {"1", "2"}}}},
      {"a count beyond the segments", nullptr, 0, "X-A: 1", 5, {{"X-A", {"1"}}}},
      {"a segment without a colon is skipped", nullptr, 0, "novalue::X-B: 2", 2,
       {{"X-B", {"2"}}, {"novalue", {}}}},
  };
  TestClient client;
  cef_browser_t* browser = open(client, server.url("/a"));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const size_t before = server.requests().size();
    load_and_wait(browser, client, server.url("/echo"), c.body, c.body_length, c.headers, c.count);
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), before + 1);
    const zvtest::ReceivedRequest& r = requests.back();
    EXPECT_EQ(r.method, c.body ? "POST" : "GET");
    EXPECT_EQ(r.body, std::string(c.body ? c.body : "", c.body_length));
    for (const auto& [name, values] : c.expected) EXPECT_EQ(r.header_values(name), values) << name;
  }
  EXPECT_TRUE(close_and_release(client, browser));
}

TEST_F(NavigationTest, BackForwardAndReloadActOnTheHistory) {
  TestClient client;
  cef_browser_t* browser = open(client, server.url("/a"));
  load_and_wait(browser, client, server.url("/b"));
  EXPECT_EQ(client.events.back(), "loading 0 1 0");

  const int ends = client.load_ends;
  cefvemo_go_back(browser);
  ASSERT_TRUE(zvtest::pump_until([&] { return client.load_ends > ends && !client.loading; }));
  EXPECT_EQ(take(cefvemo_get_url(browser)), server.url("/a"));
  EXPECT_EQ(client.title, "Page A");
  EXPECT_EQ(client.events.back(), "loading 0 0 1");

  cefvemo_go_forward(browser);
  ASSERT_TRUE(zvtest::pump_until([&] { return client.load_ends > ends + 1 && !client.loading; }));
  EXPECT_EQ(take(cefvemo_get_url(browser)), server.url("/b"));

  cefvemo_reload(browser);
  ASSERT_TRUE(zvtest::pump_until([&] { return client.load_ends > ends + 2 && !client.loading; }));
  EXPECT_EQ(take(cefvemo_get_url(browser)), server.url("/b"));
  EXPECT_EQ(client.events.back(), "loading 0 1 0");

  std::vector<std::string> paths;
  for (const auto& r : server.requests()) paths.push_back(r.path);
  EXPECT_EQ(paths, (std::vector<std::string>{"/a", "/b", "/a", "/b", "/b"}));

  // At the ends of the history nothing happens.
  cefvemo_go_forward(browser);
  zvtest::pump(5);
  EXPECT_EQ(server.requests().size(), 5u);
  EXPECT_TRUE(close_and_release(client, browser));
}

TEST_F(NavigationTest, StopAbortsTheLoadInProgress) {
  std::mutex m;
  std::condition_variable cv;
  bool release_slow = false;
  std::atomic<bool> slow_started{false};
  server.server().Get("/slow", [&](const httplib::Request&, httplib::Response& response) {
    slow_started = true;
    std::unique_lock lock(m);
    cv.wait_for(lock, std::chrono::seconds(30), [&] { return release_slow; });
    response.set_content("<title>late</title>", "text/html");
  });
  TestClient client;
  cef_browser_t* browser = open(client, server.url("/a"));
  cefvemo_load_url(browser, server.url("/slow").c_str(), nullptr, 0, nullptr, 0);
  ASSERT_TRUE(zvtest::pump_until([&] { return slow_started.load(); }));
  cefvemo_stop(browser);
  ASSERT_TRUE(zvtest::pump_until([&] { return client.load_errors == 1 && !client.loading; }));
  EXPECT_EQ(client.last_error, -3);
  EXPECT_TRUE(client.saw("load_error -3 net::ERR_ABORTED"));
  EXPECT_EQ(take(cefvemo_get_url(browser)), server.url("/a")) << "the page stays";
  {
    std::lock_guard lock(m);
    release_slow = true;
  }
  cv.notify_all();
  zvtest::pump(20);
  EXPECT_NE(client.title, "late");
  EXPECT_TRUE(close_and_release(client, browser));
}

TEST_F(NavigationTest, UnreachableHostReportsANetError) {
  TestClient client;
  // Port 1 on loopback: nothing listens there.
  cef_browser_t* browser = open(client, "http://127.0.0.1:1/");
  EXPECT_EQ(client.load_errors, 1);
  EXPECT_EQ(client.last_error, -102);
  EXPECT_TRUE(client.saw("load_error -102 net::ERR_CONNECTION_REFUSED"));
  EXPECT_TRUE(close_and_release(client, browser));
}

struct SourceVisitor : zvtest::TestObject<cef_string_visitor_t> {
  std::string text;
  int visits = 0;
  SourceVisitor() {
    cef.visit = [](cef_string_visitor_t* self, const cef_string_t* string) {
      auto* v = static_cast<SourceVisitor*>(of(self));
      v->text = utils::to_utf8(string);
      v->visits++;
    };
  }
};

TEST_F(NavigationTest, GetTextDeliversTheHtmlSourceLater) {
  TestClient client;
  cef_browser_t* browser = open(client, server.url("/a"));
  SourceVisitor visitor;
  cefvemo_get_text(browser, &visitor.cef);
  EXPECT_EQ(visitor.visits, 0) << "the source arrives on a later unit of work";
  ASSERT_TRUE(zvtest::pump_until([&] { return visitor.visits == 1; }));
  EXPECT_EQ(visitor.text, "<html><head><title>Page A</title></head><body><p>a</p></body></html>");
  EXPECT_TRUE(close_and_release(client, browser));

  SourceVisitor wrong;
  wrong.cef.base.size = 47;
  EXPECT_DEATH(cefvemo_get_text(browser, &wrong.cef), "left: 47\n right: 48");
}

TEST_F(NavigationTest, DocumentsFromTextDataFilesAndAboutBlank) {
  const auto file = std::filesystem::temp_directory_path() /
                    ("zv-page-" + std::to_string(getpid()) + ".html");
  std::ofstream(file) << "<title>From a file</title>";
  struct Case {
    std::string url;
    std::string title;
  } cases[] = {
      {"data:text/html,<title>Data%20page</title>", "Data page"},
      {"data:text/html;base64,PHRpdGxlPkI2NDwvdGl0bGU+", "B64"},
      {"file://" + file.string(), "From a file"},
      {"about:blank", "about:blank"},
  };
  TestClient client;
  cef_browser_t* browser = open(client, server.url("/a"));
  for (const Case& c : cases) {
    load_and_wait(browser, client, c.url);
    EXPECT_EQ(client.title, c.title) << c.url;
    EXPECT_EQ(take(cefvemo_get_url(browser)), c.url);
  }
  std::filesystem::remove(file);

  const int ends = client.load_ends;
  cefvemo_load_text(browser, "<html><title>Text \xE2\x9C\x93</title><body>t</body></html>");
  ASSERT_TRUE(zvtest::pump_until([&] { return client.load_ends > ends && !client.loading; }));
  EXPECT_EQ(client.title, "Text \xE2\x9C\x93");
  EXPECT_EQ(take(cefvemo_get_url(browser)), "http://zorvan/");
  SourceVisitor visitor;
  cefvemo_get_text(browser, &visitor.cef);
  ASSERT_TRUE(zvtest::pump_until([&] { return visitor.visits == 1; }));
  EXPECT_EQ(visitor.text, "<html><title>Text \xE2\x9C\x93</title><body>t</body></html>");
  EXPECT_TRUE(close_and_release(client, browser));
}

// A browser table without a main frame, as no real engine hands out.
struct FramelessBrowser : zvtest::TestObject<cef_browser_t> {
  FramelessBrowser() {
    cef.get_main_frame = [](cef_browser_t*) -> cef_frame_t* { return nullptr; };
  }
};

TEST(Navigation, ABrowserWithoutMainFrameIsLeftAlone) {
  FramelessBrowser browser;
  cef_string_userfree_utf8_t url = cefvemo_get_url(&browser.cef);
  ASSERT_NE(url, nullptr);
  EXPECT_EQ(url->length, 0u);
  cefvemo_cef_string_free(url);
  cefvemo_load_url(&browser.cef, "http://127.0.0.1:1/", "x", 1, "A: b", 1);
  cefvemo_load_text(&browser.cef, "text");
  SourceVisitor visitor;
  cefvemo_get_text(&browser.cef, &visitor.cef);
  EXPECT_EQ(visitor.visits, 0);
  EXPECT_EQ(browser.refs, 1);
}

TEST(HostStrings, EveryTextExportReturnsAFreeableString) {
  const utils::CefString text = utils::cef_string("caf\xC3\xA9 \xF0\x9F\x98\x80");
  cef_string_userfree_utf8_t s = cefvemo_cefstring_to_java(text.get());
  ASSERT_NE(s, nullptr);
  EXPECT_STREQ(s->str, "caf\xC3\xA9 \xF0\x9F\x98\x80");
  cefvemo_cef_string_free(s);

  const cef_string_t empty{};
  for (const cef_string_t* input : {static_cast<const cef_string_t*>(nullptr), &empty}) {
    s = cefvemo_cefstring_to_java(input);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->length, 0u);
    cefvemo_cef_string_free(s);
  }
  cefvemo_cef_string_free(nullptr);

  cef_request_t* request = cef_request_create();
  s = cefvemo_request_to_java(request);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->length, 0u) << "a request without URL";
  cefvemo_cef_string_free(s);
  const utils::CefString url = utils::cef_string("http://127.0.0.1/x?y=1");
  request->set_url(request, url.get());
  s = cefvemo_request_to_java(request);
  EXPECT_STREQ(s->str, "http://127.0.0.1/x?y=1");
  cefvemo_cef_string_free(s);
  zvtest::release(request);
}

}  // namespace
