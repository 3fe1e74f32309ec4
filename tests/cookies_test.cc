// Cookies through the real bridge and engine: cookies the host sets are sent
// by page loads on a loopback server and visited, cookies the server sets
// are visited with their flags, visits stop, delete and release their
// visitor, expiry and deletion, and persistence across engine processes in
// a cache folder. Host names under ".localhost" reach 127.0.0.1 too, which
// lets one loopback server stand for several sites.
// The exact cookie structure the exports write is read by a recording
// manager put in place of the engine's.

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "cefwork/test_hooks.h"
#include "support/engine_fixture.h"
#include "support/http_server.h"
#include "utils/cef_string.h"

namespace {

namespace fs = std::filesystem;
using zvtest::EngineTest;
using zvtest::HttpServer;
using zvtest::TestClient;
using Names = std::set<std::string>;

const std::string kCafe = "caf\xC3\xA9";                  // café
const std::string kNaive = "na\xC3\xAFve \xF0\x9F\x98\x80";  // naïve 😀

double now() {
  using namespace std::chrono;
  return static_cast<double>(duration_cast<seconds>(system_clock::now().time_since_epoch()).count());
}

std::string take(cef_string_userfree_utf8_t s) {
  std::string text = s && s->str ? std::string(s->str, s->length) : std::string();
  cefvemo_cef_string_free(s);
  return text;
}

struct Visited {
  std::string name, value, domain, path;
  int secure = 0, httponly = 0, has_expires = 0;
  cef_time_t expires{};
  int count = 0, total = 0;
};

// A visitor as the Java host writes one: the name through
// cefvemo_cookie_to_java given the cookie pointer, the value through
// cefvemo_cookie_value.
struct CookieVisitor : zvtest::TestObject<cef_cookie_visitor_t> {
  std::vector<Visited> seen;
  int stop_at = 0;  // visit number (1-based) that returns 0
  Names remove;     // names whose deletion the visitor asks for

  CookieVisitor() {
    cef.visit = [](cef_cookie_visitor_t* self, const cef_cookie_t* c, int count, int total,
                   int* delete_cookie) {
      auto* v = static_cast<CookieVisitor*>(of(self));
      Visited r;
      r.name = take(cefvemo_cookie_to_java(reinterpret_cast<const cef_string_t*>(c)));
      r.value = take(cefvemo_cookie_value(c));
      r.domain = utils::to_utf8(&c->domain);
      r.path = utils::to_utf8(&c->path);
      r.secure = c->secure;
      r.httponly = c->httponly;
      r.has_expires = c->has_expires;
      r.expires = c->expires;
      r.count = count;
      r.total = total;
      v->seen.push_back(r);
      if (v->remove.count(r.name)) *delete_cookie = 1;
      return static_cast<int>(v->seen.size()) == v->stop_at ? 0 : 1;
    };
  }
  Names pairs() const {
    Names out;
    for (const Visited& r : seen) out.insert(r.name + "=" + r.value);
    return out;
  }
  const Visited* find(const std::string& name) const {
    for (const Visited& r : seen)
      if (r.name == name) return &r;
    return nullptr;
  }
};

class CookieTest : public EngineTest {
 protected:
  void SetUp() override {
    cache = fs::temp_directory_path() / ("zv-cookies-" + std::to_string(getpid()));
    fs::remove_all(cache);
    start(cache.string());
    port = server.url("").substr(std::string("http://127.0.0.1:").size());
    server.server().Get("/login", [this](const httplib::Request& request,
                                          httplib::Response& response) {
      server.record(request);
      response.set_header("Set-Cookie", "sid=abc; Path=/; HttpOnly");
      response.set_header("Set-Cookie", "pref=x; Max-Age=3600; Path=/");
      response.set_header("Set-Cookie", "gone=1; Max-Age=0; Path=/");
      response.set_content("<title>in</title>", "text/html");
    });
    server.server().Get(R"(/.*)", [this](const httplib::Request& request,
                                         httplib::Response& response) {
      server.record(request);
      response.set_content("<title>page</title>", "text/html");
    });
  }
  void TearDown() override {
    if (browser) close_and_release(client, browser);
    EngineTest::TearDown();
    fs::remove_all(cache);
  }

  void start(const std::string& folder) {
    const std::string options = std::string(ZV_SUBP_VERSION) + ";cache_path=" + folder;
    cefvemo_init(&app.cef, zvtest::engine_dir().c_str(), options.c_str(), 0);
    zvtest::pump(1);
  }

  std::string url(const std::string& host, const std::string& path) const {
    return "http://" + host + ":" + port + path;
  }

  // Loads `address` and returns the cookies its request carried.
  Names load(const std::string& address) {
    if (!browser) browser = open(client, "");
    const int before = client.load_ends + client.load_errors;
    const size_t requests = server.requests().size();
    cefvemo_load_url(browser, address.c_str(), nullptr, 0, nullptr, 0);
    EXPECT_TRUE(zvtest::pump_until([&] {
      return client.load_ends + client.load_errors > before && !client.loading;
    })) << address;
    const auto all = server.requests();
    if (all.size() != requests + 1) {
      ADD_FAILURE() << "one request expected for " << address;
      return {};
    }
    Names sent;
    for (const std::string& header : all.back().header_values("Cookie")) {
      std::stringstream parts(header);
      for (std::string part; std::getline(parts, part, ';');)
        sent.insert(part.substr(part.find_first_not_of(' ')));
    }
    return sent;
  }

  // Visits the cookies of `address`: none before the call returns, the
  // visitor released once when the visit is over.
  void visit(const std::string& address, CookieVisitor& visitor) {
    ASSERT_EQ(cefvemo_get_cookie(address.c_str(), &visitor.cef), 1) << address;
    EXPECT_TRUE(visitor.seen.empty()) << "visits come later, in message-loop work";
    ASSERT_TRUE(zvtest::pump_until([&] { return visitor.refs == 0; })) << address;
    zvtest::pump(2);
    EXPECT_EQ(visitor.refs, 0) << "released once";
  }
  Names visited(const std::string& address) {
    CookieVisitor visitor;
    visit(address, visitor);
    return visitor.pairs();
  }

  int set(const std::string& address, const std::string& name, const std::string& value,
          const char* domain = nullptr, const char* path = nullptr, int secure = 0,
          int httponly = 0, double expires = -1.0) {
    return cefvemo_set_cookie(address.c_str(), name.c_str(), value.c_str(), domain, path,
                              secure, httponly, expires);
  }

  fs::path cache;
  HttpServer server;
  std::string port;
  TestClient client;
  cef_browser_t* browser = nullptr;
};

TEST_F(CookieTest, HostCookiesAreSentWhereTheyMatchAndVisitedAlike) {
  const std::string site = "site.localhost";
  ASSERT_EQ(set(url(site, "/"), "host", "1"), 1);
  ASSERT_EQ(set(url(site, "/"), "dom", "2", "site.localhost", "/"), 1);
  ASSERT_EQ(set(url(site, "/docs/index"), "deep", "3"), 1);  // default path /docs
  ASSERT_EQ(set("https://site.localhost/", "sec", "4", nullptr, "/", 1), 1);
  ASSERT_EQ(set(url("127.0.0.1", "/"), "ip", "5"), 1);
  ASSERT_EQ(set(url(site, "/"), kCafe, kNaive), 1);
  ASSERT_EQ(set(url(site, "/"), "ho", "6", nullptr, "/", 0, 1, now() + 3600), 1);

  const Names top = {"host=1", "dom=2", kCafe + "=" + kNaive, "ho=6"};
  Names docs = top;
  docs.insert("deep=3");
  struct Case {
    std::string url;
    Names cookies;
  } cases[] = {
      {url(site, "/page"), top},
      {url(site, "/docs"), docs},
      {url(site, "/docs/x"), docs},
      {url(site, "/docsx"), top},
      {url("a.site.localhost", "/page"), {"dom=2"}},
      {url("other.localhost", "/page"), {}},
      {url("127.0.0.1", "/page"), {"ip=5"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(load(c.url), c.cookies) << "sent to " << c.url;
    EXPECT_EQ(visited(c.url), c.cookies) << "visited for " << c.url;
  }
  Names secure = top;
  secure.insert("sec=4");
  EXPECT_EQ(visited("https://site.localhost/page"), secure);

  CookieVisitor visitor;
  visit(url(site, "/"), visitor);
  ASSERT_NE(visitor.find("dom"), nullptr);
  EXPECT_EQ(visitor.find("dom")->domain, ".site.localhost");
  EXPECT_EQ(visitor.find("host")->domain, "site.localhost");
  EXPECT_EQ(visitor.find("ho")->httponly, 1);
  EXPECT_EQ(visitor.find(kCafe)->value, kNaive);
}

TEST_F(CookieTest, ServerCookiesAreKeptWithTheirFlags) {
  ASSERT_EQ(set(url("127.0.0.1", "/"), "gone", "old", nullptr, "/"), 1);
  load(url("127.0.0.1", "/login"));
  CookieVisitor visitor;
  visit(url("127.0.0.1", "/"), visitor);
  EXPECT_EQ(visitor.pairs(), (Names{"sid=abc", "pref=x"})) << "Max-Age=0 removed 'gone'";
  const Visited* sid = visitor.find("sid");
  const Visited* pref = visitor.find("pref");
  ASSERT_TRUE(sid && pref);
  EXPECT_EQ(sid->httponly, 1);
  EXPECT_EQ(sid->has_expires, 0);
  EXPECT_EQ(pref->httponly, 0);
  ASSERT_EQ(pref->has_expires, 1);
  double expires = 0;
  ASSERT_EQ(cef_time_to_doublet(&pref->expires, &expires), 1);
  EXPECT_NEAR(expires, now() + 3600, 120);
  EXPECT_EQ(load(url("127.0.0.1", "/next")), (Names{"sid=abc", "pref=x"}));
}

TEST_F(CookieTest, VisitsCountStopDeleteAndReleaseTheirVisitor) {
  const std::string site = url("site.localhost", "/");
  for (const char* name : {"a", "b", "c"}) ASSERT_EQ(set(site, name, "v", nullptr, "/"), 1);
  ASSERT_EQ(set(site, "p", "v", nullptr, "/x"), 1);

  CookieVisitor longest;
  visit(url("site.localhost", "/x/y"), longest);
  ASSERT_EQ(longest.seen.size(), 4u);
  EXPECT_EQ(longest.seen[0].name, "p") << "longer paths first";

  CookieVisitor stopping;
  stopping.stop_at = 2;
  stopping.remove = {"a"};
  visit(site, stopping);
  ASSERT_EQ(stopping.seen.size(), 2u);
  EXPECT_EQ(stopping.seen[0].name, "a");
  EXPECT_EQ(stopping.seen[0].count, 0);
  EXPECT_EQ(stopping.seen[1].count, 1);
  EXPECT_EQ(stopping.seen[1].total, 3);
  EXPECT_EQ(visited(site), (Names{"b=v", "c=v"}));
  EXPECT_EQ(load(site), (Names{"b=v", "c=v"}));

  CookieVisitor none;
  visit(url("nobody.localhost", "/"), none);
  EXPECT_TRUE(none.seen.empty());

  for (const char* bad : {"", "not a url", "ftp://site.localhost/", "http://", "file:///tmp/x"}) {
    CookieVisitor visitor;
    EXPECT_EQ(cefvemo_get_cookie(bad, &visitor.cef), 0) << bad;
    EXPECT_EQ(visitor.refs, 0) << "released at once: " << bad;
    EXPECT_EQ(set(bad, "n", "v"), 0) << bad;
  }
  EXPECT_EQ(cefvemo_get_cookie(site.c_str(), nullptr), 0);
}

TEST_F(CookieTest, ExpiryKeepsDatesEndsSessionsAndRemovesExpired) {
  const std::string site = url("site.localhost", "/");
  const double later = std::floor(now()) + 86400;
  ASSERT_EQ(set(site, "session", "s", nullptr, "/"), 1);
  ASSERT_EQ(set(site, "later", "l", nullptr, "/", 0, 0, later), 1);
  ASSERT_EQ(set(site, "epoch", "e", nullptr, "/"), 1);
  ASSERT_EQ(set(site, "past", "p", nullptr, "/"), 1);
  ASSERT_EQ(set(site, "past", "other path", nullptr, "/other"), 1);
  // Expired ones are accepted and remove the cookie of the same name,
  // domain and path.
  EXPECT_EQ(set(site, "epoch", "e", nullptr, "/", 0, 0, 0.0), 1);
  EXPECT_EQ(set(site, "past", "p", nullptr, "/", 0, 0, now() - 60), 1);
  EXPECT_EQ(set(site, "never", "n", nullptr, "/", 0, 0, now() - 60), 1);

  CookieVisitor visitor;
  visit(url("site.localhost", "/other"), visitor);
  EXPECT_EQ(visitor.pairs(), (Names{"session=s", "later=l", "past=other path"}));
  const Visited* session = visitor.find("session");
  const Visited* kept = visitor.find("later");
  ASSERT_TRUE(session && kept);
  EXPECT_EQ(session->has_expires, 0);
  EXPECT_EQ(session->expires.year, 0);
  ASSERT_EQ(kept->has_expires, 1);
  double expires = 0;
  ASSERT_EQ(cef_time_to_doublet(&kept->expires, &expires), 1);
  EXPECT_EQ(expires, later);
  EXPECT_EQ(load(site), (Names{"session=s", "later=l"}));
}

TEST_F(CookieTest, DeleteRemovesEveryCookieAndItsFile) {
  const std::string site = url("127.0.0.1", "/");
  ASSERT_EQ(set(site, "session", "s"), 1);
  ASSERT_EQ(set(site, "kept", "k", nullptr, "/", 0, 1, now() + 3600), 1);
  load(url("127.0.0.1", "/login"));
  EXPECT_EQ(visited(site).size(), 4u);

  cefvemo_delete_cookies();
  EXPECT_TRUE(visited(site).empty());
  EXPECT_TRUE(load(site).empty());
  EXPECT_FALSE(fs::exists(cache / "cookies.txt")) << "deletion reached the disk";
  close_and_release(client, browser);
  browser = nullptr;
  cefvemo_shutdown();
  start(cache.string());
  EXPECT_TRUE(visited(site).empty());
}

TEST_F(CookieTest, HostCookieRules) {
  const std::string site = url("site.localhost", "/docs/page");
  struct Case {
    std::string url, name, value;
    const char* domain;
    const char* path;
    int secure;
    int result;
    std::string domain_seen, path_seen;  // when set
  } cases[] = {
      {site, "plain", "v", nullptr, nullptr, 0, 1, "site.localhost", "/docs"},
      {site, "dotted", "v", ".SITE.localhost", "/", 0, 1, ".site.localhost", "/"},
      {url("a.site.localhost", "/"), "parent", "v", "site.localhost", "/", 0, 1,
       ".site.localhost", "/"},
      {url("127.0.0.1", "/"), "address", "v", "127.0.0.1", "/", 0, 1, "127.0.0.1", "/"},
      {site, "sibling", "v", "other.localhost", "/", 0, 0, "", ""},
      {site, "child", "v", "a.site.localhost", "/", 0, 0, "", ""},
      {site, "label", "v", "localhost", "/", 0, 0, "", ""},
      {url("127.0.0.1", "/"), "suffix", "v", "0.0.1", "/", 0, 0, "", ""},
      {site, "insecure", "v", nullptr, "/", 1, 0, "", ""},
      {site, "relative", "v", nullptr, "docs", 0, 0, "", ""},
      {site, "", "v", nullptr, "/", 0, 0, "", ""},
      {site, "a=b", "v", nullptr, "/", 0, 0, "", ""},
      {site, "semi", "a;b", nullptr, "/", 0, 0, "", ""},
      {site, "tab", "a\tb", nullptr, "/", 0, 0, "", ""},
      {site, "line", "a\nb", nullptr, "/", 0, 0, "", ""},
      {site, "huge", std::string(5000, 'x'), nullptr, "/", 0, 0, "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(set(c.url, c.name, c.value, c.domain, c.path, c.secure), c.result) << c.name;
    if (!c.result) continue;
    CookieVisitor visitor;
    visit(c.url, visitor);
    const Visited* v = visitor.find(c.name);
    ASSERT_NE(v, nullptr) << c.name;
    EXPECT_EQ(v->domain, c.domain_seen) << c.name;
    EXPECT_EQ(v->path, c.path_seen) << c.name;
  }
  EXPECT_EQ(visited(url("site.localhost", "/docs/page")),
            (Names{"plain=v", "dotted=v", "parent=v"}));
  EXPECT_EQ(visited(url("b.site.localhost", "/docs/page")), (Names{"dotted=v", "parent=v"}));
}

// The first engine process on the cache folder: keeps cookies of every kind
// and ends with a shutdown. It is this test program started afresh (not a
// fork of a process that already ran an engine and its threads), running
// only this test, with the folder in its environment; its exit status tells
// whether all went well.
constexpr char kFirstProcessFolder[] = "ZV_COOKIE_FIRST_PROCESS_FOLDER";

TEST(CookieFirstProcess, KeepsCookies) {
  const char* folder = std::getenv(kFirstProcessFolder);
  if (!folder) GTEST_SKIP() << "runs only as the first engine process of the persistence test";
  zvtest::TestApp app;
  const std::string options = std::string(ZV_SUBP_VERSION) + ";cache_path=" + folder;
  cefvemo_init(&app.cef, zvtest::engine_dir().c_str(), options.c_str(), 0);
  const std::string site = "http://site.localhost/";
  const double later = std::floor(now()) + 7200;
  EXPECT_EQ(cefvemo_set_cookie(site.c_str(), "kept", kNaive.c_str(), nullptr, "/", 0, 1, later), 1);
  EXPECT_EQ(cefvemo_set_cookie(site.c_str(), "domain", "d", "site.localhost", "/", 0, 0, later), 1);
  EXPECT_EQ(cefvemo_set_cookie(site.c_str(), "session", "s", nullptr, "/", 0, 0, -1.0), 1);
  cefvemo_shutdown();
}

// Runs the first engine process to its end; false if it failed or had not
// ended within two minutes (it is then killed).
bool run_first_engine_process(const fs::path& folder) {
  const std::string filter = "--gtest_filter=CookieFirstProcess.KeepsCookies";
  const std::string self = fs::read_symlink("/proc/self/exe").string();
  std::vector<std::string> env_text{std::string(kFirstProcessFolder) + "=" + folder.string()};
  for (char** e = environ; *e; ++e) env_text.emplace_back(*e);
  std::vector<char*> env;
  for (std::string& e : env_text) env.push_back(e.data());
  env.push_back(nullptr);
  std::string arg0 = self, arg1 = filter;
  char* argv[] = {arg0.data(), arg1.data(), nullptr};
  pid_t child = -1;
  if (posix_spawn(&child, self.c_str(), nullptr, nullptr, argv, env.data()) != 0) return false;
  int status = -1;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(2);
  for (;;) {
    const pid_t done = waitpid(child, &status, WNOHANG);
    if (done == child) return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (done < 0) return false;
    if (std::chrono::steady_clock::now() > deadline) {
      kill(child, SIGKILL);
      waitpid(child, &status, 0);
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

TEST_F(CookieTest, PersistentCookiesOutliveTheEngineProcess) {
  cefvemo_shutdown();  // this process starts again after the first one
  ASSERT_TRUE(run_first_engine_process(cache));

  const fs::path file = cache / "cookies.txt";
  std::ifstream in(file);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(text.rfind("# Netscape HTTP Cookie File\n", 0), 0u);
  // The bridge asks the engine to keep session cookies too
  // (persist_session_cookies = 1), so they are written as well.
  EXPECT_NE(text.find("session"), std::string::npos);
  struct stat info {};
  ASSERT_EQ(stat(file.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u) << "only the user reads the cookies";

  start(cache.string());
  CookieVisitor visitor;
  visit(url("a.site.localhost", "/"), visitor);
  EXPECT_EQ(visitor.pairs(), (Names{"domain=d"}));
  CookieVisitor own;
  visit(url("site.localhost", "/"), own);
  EXPECT_EQ(own.pairs(), (Names{"kept=" + kNaive, "domain=d", "session=s"}));
  const Visited* kept = own.find("kept");
  ASSERT_NE(kept, nullptr);
  EXPECT_EQ(kept->httponly, 1);
  ASSERT_EQ(kept->has_expires, 1);
  double expires = 0;
  ASSERT_EQ(cef_time_to_doublet(&kept->expires, &expires), 1);
  EXPECT_NEAR(expires, now() + 7200, 120);
  EXPECT_EQ(load(url("site.localhost", "/")), (Names{"kept=" + kNaive, "domain=d", "session=s"}));
}

TEST_F(CookieTest, WithoutCacheFolderNothingIsKept) {
  cefvemo_shutdown();
  const fs::path default_cache = fs::path(zvtest::engine_dir()).parent_path() / "cache";
  const bool existed = fs::exists(default_cache / "cookies.txt");
  start("");
  ASSERT_EQ(set(url("site.localhost", "/"), "kept", "k", nullptr, "/", 0, 0, now() + 3600), 1);
  cefvemo_shutdown();
  start("");
  EXPECT_TRUE(visited(url("site.localhost", "/")).empty());
  EXPECT_EQ(fs::exists(default_cache / "cookies.txt"), existed);
  EXPECT_FALSE(fs::exists("cookies.txt"));
}

TEST(CefTime, RoundTripsInUtc) {
  struct Case {
    double seconds;
    cef_time_t time;  // year, month, day_of_week, day_of_month, h, m, s, ms
    double back;
  } cases[] = {
      {0.0, {1970, 1, 4, 1, 0, 0, 0, 0}, 0.0},
      {1700000000.25, {2023, 11, 2, 14, 22, 13, 20, 250}, 1700000000.25},
      {0.9996, {1970, 1, 4, 1, 0, 0, 1, 0}, 1.0},
      {-1.5, {1969, 12, 3, 31, 23, 59, 58, 500}, -1.5},
  };
  for (const Case& c : cases) {
    cef_time_t t{};
    ASSERT_EQ(cef_time_from_doublet(c.seconds, &t), 1) << c.seconds;
    EXPECT_EQ(std::vector<int>({t.year, t.month, t.day_of_week, t.day_of_month, t.hour,
                                t.minute, t.second, t.millisecond}),
              std::vector<int>({c.time.year, c.time.month, c.time.day_of_week,
                                c.time.day_of_month, c.time.hour, c.time.minute, c.time.second,
                                c.time.millisecond}))
        << c.seconds;
    double back = 0;
    ASSERT_EQ(cef_time_to_doublet(&t, &back), 1);
    EXPECT_DOUBLE_EQ(back, c.back);
  }
}

// A cookie manager that records what the exports hand it.
struct RecordingManager : zvtest::TestObject<cef_cookie_manager_t> {
  std::string url;
  cef_cookie_t cookie{};  // string members copied into the texts below
  std::string name, value, domain, path;
  int include_http_only = -1;
  cef_cookie_visitor_t* visitor = nullptr;
  int result = 1;
  int deletes = 0;
  bool delete_had_arguments = false;

  RecordingManager() {
    cef.set_cookie = [](cef_cookie_manager_t* self, const cef_string_t* url,
                        const cef_cookie_t* c, cef_set_cookie_callback_t* callback) {
      auto* m = static_cast<RecordingManager*>(of(self));
      m->url = utils::to_utf8(url);
      m->cookie = *c;
      m->name = utils::to_utf8(&c->name);
      m->value = utils::to_utf8(&c->value);
      m->domain = utils::to_utf8(&c->domain);
      m->path = utils::to_utf8(&c->path);
      m->cookie.name = m->cookie.value = m->cookie.domain = m->cookie.path = cef_string_t{};
      EXPECT_EQ(callback, nullptr);
      return m->result;
    };
    cef.visit_url_cookies = [](cef_cookie_manager_t* self, const cef_string_t* url,
                               int include_http_only, cef_cookie_visitor_t* visitor) {
      auto* m = static_cast<RecordingManager*>(of(self));
      m->url = utils::to_utf8(url);
      m->include_http_only = include_http_only;
      m->visitor = visitor;
      return m->result;
    };
    cef.delete_cookies = [](cef_cookie_manager_t* self, const cef_string_t* url,
                            const cef_string_t* name, cef_delete_cookies_callback_t* callback) {
      auto* m = static_cast<RecordingManager*>(of(self));
      m->deletes++;
      m->delete_had_arguments = url || name || callback;
      return 1;
    };
  }
};

class CookieExports : public testing::Test {
 protected:
  void SetUp() override { cefwork_test_replace_cookie_manager(&manager.cef); }
  void TearDown() override {
    cefwork_test_replace_cookie_manager(nullptr);
    EXPECT_EQ(manager.refs, 1) << "every export released the manager it obtained";
  }
  RecordingManager manager;
};

std::vector<int> members(const cef_time_t& t) {
  return {t.year, t.month, t.day_of_week, t.day_of_month, t.hour, t.minute, t.second,
          t.millisecond};
}

TEST_F(CookieExports, SetCookieWritesTheCookieMembers) {
  struct Case {
    const char* domain;
    const char* path;
    int32_t secure, httponly;
    double expires;
    int has_expires;
    std::vector<int> time;
  } cases[] = {
      {nullptr, nullptr, 1, 0, -1.0, 0, {0, 0, 0, 0, 0, 0, 0, 0}},
      {"example.test", "/p", 0, 1, 0.0, 1, {1970, 1, 4, 1, 0, 0, 0, 0}},
      {"", "", 5, 7, 1700000000.25, 1, {2023, 11, 2, 14, 22, 13, 20, 250}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expires);
    manager.result = c.has_expires;  // the manager's result is returned as it is
    EXPECT_EQ(cefvemo_set_cookie("http://example.test/", kCafe.c_str(), kNaive.c_str(),
                                 c.domain, c.path, c.secure, c.httponly, c.expires),
              c.has_expires);
    EXPECT_EQ(manager.url, "http://example.test/");
    EXPECT_EQ(manager.name, kCafe);
    EXPECT_EQ(manager.value, kNaive);
    EXPECT_EQ(manager.domain, c.domain ? c.domain : "");
    EXPECT_EQ(manager.path, c.path ? c.path : "");
    EXPECT_EQ(manager.cookie.secure, c.secure);
    EXPECT_EQ(manager.cookie.httponly, c.httponly);
    EXPECT_EQ(manager.cookie.has_expires, c.has_expires);
    EXPECT_EQ(members(manager.cookie.creation), c.time);
    EXPECT_EQ(members(manager.cookie.last_access), c.time);
    EXPECT_EQ(members(manager.cookie.expires), c.time);
  }
  manager.result = 0;
  EXPECT_EQ(cefvemo_set_cookie(nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0, -1.0), 0);
  EXPECT_EQ(manager.url + manager.name + manager.value, "");
}

TEST_F(CookieExports, GetAndDeleteHandTheManagerWhatItNeeds) {
  CookieVisitor visitor;
  for (int result : {1, 0}) {
    manager.result = result;
    EXPECT_EQ(cefvemo_get_cookie("http://example.test/a", &visitor.cef), result);
    EXPECT_EQ(manager.url, "http://example.test/a");
    EXPECT_EQ(manager.include_http_only, 1);
    EXPECT_EQ(manager.visitor, &visitor.cef);
    EXPECT_EQ(visitor.refs, 1) << "passed as received";
  }
  cefvemo_delete_cookies();
  EXPECT_EQ(manager.deletes, 1);
  EXPECT_FALSE(manager.delete_had_arguments);

  cef_cookie_t cookie{};
  const utils::CefString name = utils::cef_string(kCafe);
  const utils::CefString value = utils::cef_string(kNaive);
  cookie.name = name.value();
  cookie.value = value.value();
  EXPECT_EQ(take(cefvemo_cookie_to_java(reinterpret_cast<const cef_string_t*>(&cookie))), kCafe);
  EXPECT_EQ(take(cefvemo_cookie_value(&cookie)), kNaive);
  EXPECT_EQ(take(cefvemo_cookie_value(nullptr)), "");
}

TEST_F(CookieExports, MissingManagerMembersAreFatal) {
  manager.cef.set_cookie = nullptr;
  manager.cef.visit_url_cookies = nullptr;
  manager.cef.delete_cookies = nullptr;
  EXPECT_DEATH(cefvemo_set_cookie("http://a/", "n", "v", nullptr, nullptr, 0, 0, -1.0),
               "null set_cookie");
  CookieVisitor visitor;
  EXPECT_DEATH(cefvemo_get_cookie("http://a/", &visitor.cef), "null visit_url_cookies");
  EXPECT_DEATH(cefvemo_delete_cookies(), "null delete_cookies");
}

TEST(CookieExportsWithoutManager, DoNothingAndGiveZero) {
  ASSERT_EQ(cef_cookie_manager_get_global_manager(nullptr), nullptr) << "no engine running";
  EXPECT_EQ(cefvemo_set_cookie("http://a.test/", "n", "v", nullptr, "/", 0, 0, -1.0), 0);
  CookieVisitor visitor;
  EXPECT_EQ(cefvemo_get_cookie("http://a.test/", &visitor.cef), 0);
  EXPECT_EQ(visitor.refs, 1);
  cefvemo_delete_cookies();
}

}  // namespace
