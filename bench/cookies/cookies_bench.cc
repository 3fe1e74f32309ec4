// 10,000 cookies across 100 sites, set and then visited site by site.
//
//   exports   cefvemo_set_cookie for each cookie, then cefvemo_get_cookie
//             for each site with the visits run in message-loop work
//   store     the same cookies as Netscape lines through CURLOPT_COOKIELIST
//             on a share handle of its own, then one CURLINFO_COOKIELIST per
//             site: the calls the engine's store makes at the least
//
// Reported per cookie, with the ratio of the exports to the store.

#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include <chrono>
#include <string>
#include <vector>

#include "support/test_app.h"
#include "support/test_object.h"
#include "zorvan_vemo.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kSites = 100;
constexpr int kPerSite = 100;
constexpr int kCookies = kSites * kPerSite;

std::string site_url(int site) { return "http://site" + std::to_string(site) + ".test/"; }
std::string name_of(int i) { return "cookie" + std::to_string(i); }
std::string value_of(int i) { return "value-" + std::to_string(i * 7919); }

double ns_per_cookie(Clock::duration d) {
  return std::chrono::duration<double, std::nano>(d).count() / kCookies;
}

struct CountingVisitor : zvtest::TestObject<cef_cookie_visitor_t> {
  int visits = 0;
  CountingVisitor() {
    cef.visit = [](cef_cookie_visitor_t* self, const cef_cookie_t*, int, int, int*) {
      static_cast<CountingVisitor*>(of(self))->visits++;
      return 1;
    };
  }
};

struct Phases {
  Clock::duration set{}, visit{};
};

Phases through_exports() {
  Phases p;
  cefvemo_delete_cookies();
  const auto t0 = Clock::now();
  for (int s = 0; s < kSites; ++s) {
    const std::string url = site_url(s);
    for (int i = 0; i < kPerSite; ++i)
      cefvemo_set_cookie(url.c_str(), name_of(i).c_str(), value_of(i).c_str(), nullptr, "/", 0,
                         0, -1.0);
  }
  const auto t1 = Clock::now();
  std::vector<CountingVisitor> visitors(kSites);
  for (int s = 0; s < kSites; ++s) cefvemo_get_cookie(site_url(s).c_str(), &visitors[s].cef);
  bool done = false;
  while (!done) {
    cefvemo_do_message_loop_work();
    done = true;
    for (const auto& v : visitors) done = done && v.refs == 0;
  }
  p.visit = Clock::now() - t1;
  p.set = t1 - t0;
  int visits = 0;
  for (const auto& v : visitors) visits += v.visits;
  if (visits != kCookies) fprintf(stderr, "exports: %d visits, %d expected\n", visits, kCookies);
  return p;
}

Phases through_store() {
  std::vector<std::string> lines;
  lines.reserve(kCookies);
  for (int s = 0; s < kSites; ++s)
    for (int i = 0; i < kPerSite; ++i)
      lines.push_back("site" + std::to_string(s) + ".test\tFALSE\t/\tFALSE\t0\t" + name_of(i) +
                      "\t" + value_of(i));
  CURLSH* share = curl_share_init();
  curl_share_setopt(share, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
  CURL* control = curl_easy_init();
  curl_easy_setopt(control, CURLOPT_SHARE, share);
  curl_easy_setopt(control, CURLOPT_COOKIEFILE, "");
  Phases p;
  const auto t0 = Clock::now();
  for (const std::string& line : lines) curl_easy_setopt(control, CURLOPT_COOKIELIST, line.c_str());
  const auto t1 = Clock::now();
  size_t listed = 0;
  for (int s = 0; s < kSites; ++s) {
    curl_slist* list = nullptr;
    curl_easy_getinfo(control, CURLINFO_COOKIELIST, &list);
    for (curl_slist* l = list; l; l = l->next) ++listed;
    curl_slist_free_all(list);
  }
  p.visit = Clock::now() - t1;
  p.set = t1 - t0;
  benchmark::DoNotOptimize(listed);
  curl_easy_cleanup(control);
  curl_share_cleanup(share);
  return p;
}

void BM_SetAndVisit10000(benchmark::State& state) {
  double set = 0, add = 0, visit = 0, list = 0;
  for (auto _ : state) {
    const Phases exports = through_exports();
    state.PauseTiming();
    const Phases store = through_store();
    state.ResumeTiming();
    set += ns_per_cookie(exports.set);
    visit += ns_per_cookie(exports.visit);
    add += ns_per_cookie(store.set);
    list += ns_per_cookie(store.visit);
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["export_set_ns"] = set / n;
  state.counters["store_add_ns"] = add / n;
  state.counters["set_ratio"] = set / add;
  state.counters["export_visit_ns"] = visit / n;
  state.counters["store_list_ns"] = list / n;
  state.counters["visit_ratio"] = visit / list;
}

BENCHMARK(BM_SetAndVisit10000)->Iterations(2)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  zvtest::TestApp app;
  // No cache folder: nothing is written to disk.
  const std::string options = std::string(ZV_SUBP_VERSION) + ";cache_path=";
  cefvemo_init(&app.cef, zvtest::engine_dir().c_str(), options.c_str(), 0);
  zvtest::pump(1);
  benchmark::RunSpecifiedBenchmarks();
  cefvemo_shutdown();
  benchmark::Shutdown();
  return 0;
}
