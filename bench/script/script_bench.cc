// Script round trips through the real bridge, engine and renderer process.
//
//   floor            one engine process-message round trip to the renderer
//                    and back, plus one bare loopback connect-send-close of a
//                    17-byte message (what every answer costs at least)
//   eval             cefvemo_eval of "1+1", in blocks of 250
//   host_call        one call from page script into a host function that the
//                    host answers at once (measured over a loop in the page)
//   eval_30000       30,000 evaluations in a row: 99th percentile of the
//                    first and of the last thousand, and the growth of
//                    TIME_WAIT sockets over the run
//   wait_cpu         CPU time of this (browser) process while one eval waits
//                    3 s for a page script that busy-waits, as % of a core
//   renderer_wait_cpu  CPU time of the renderer process while a page's call
//                    waits 3 s for the host to answer, as % of a core
//
// Ratios to the floor are reported as counters of the same run. Each block
// of evals and each host-call sample is set beside a floor measured right
// before it, and a ratio is the median of those ratios: the floor of one
// process differed from the next one's by a fifth on a quiet machine, so
// only figures taken side by side compare.

#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <chrono>
#include <cstdio>
#include <optional>
#include <utility>
#include <vector>

#include "cefwork/test_hooks_browser.h"
#include "support/eval_recorder.h"
#include "support/test_app.h"
#include "support/test_client.h"
#include "zorvan_vemo.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Engine {
  zvtest::TestApp app;
  zvtest::ParentWindow parent;
  zvtest::TestClient client;
  cef_browser_t* browser = nullptr;
  int held_port = 0;  // a call of "slow" not answered yet

  Engine() {
    cefvemo_init(&app.cef, zvtest::engine_dir().c_str(), ZV_SUBP_VERSION, 0);
    zvtest::pump(1);
    client.on_message = [this](cef_browser_t* b, cef_process_message_t* m) {
      FunctionSt call{};
      cefvemo_function_id(m, &call);
      if (call.id == 1) {
        cefvemo_function_return(b, call.id, call.port, 0, "1");
      } else if (call.id == 2) {
        held_port = call.port;  // answered later, by BM_RendererWaitCpu
      } else {
        return 0;
      }
      return 1;
    };
    browser = cefvemo_create_browser(&parent, "", &client.cef, 100, 100, 1, 0);
    cefvemo_function(browser, "ping", 1);
    cefvemo_function(browser, "slow", 2);
    cefvemo_load_text(browser, "<html><body>bench</body></html>");
    zvtest::pump_until([this] { return client.load_ends > 0 && !client.loading; });
  }
};

Engine& engine() {
  static Engine* e = new Engine();
  return *e;
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

double percentile(std::vector<double> v, double p) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[std::min(v.size() - 1, static_cast<size_t>(p * v.size()))];
}

// One bare loopback message: connect, send 17 bytes, close; accept and read
// to the end.
double bare_connect_send_close_us(int listener, uint16_t port) {
  const auto start = Clock::now();
  const int client = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(port);
  to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  connect(client, reinterpret_cast<sockaddr*>(&to), sizeof to);
  char message[17] = {};
  send(client, message, sizeof message, 0);
  close(client);
  const int accepted = accept(listener, nullptr, nullptr);
  char buffer[64];
  while (recv(accepted, buffer, sizeof buffer, 0) > 0) {
  }
  close(accepted);
  return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

// Round trips and evals that failed (no renderer, no answer): a run with any
// measured something else than it says.
int failures = 0;

// The median of `samples` engine round trips plus that of as many bare
// loopback messages.
double floor_us(int samples) {
  static const auto [listener, port] = [] {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd, reinterpret_cast<sockaddr*>(&at), sizeof at);
    listen(fd, 128);
    socklen_t len = sizeof at;
    getsockname(fd, reinterpret_cast<sockaddr*>(&at), &len);
    return std::pair{fd, ntohs(at.sin_port)};
  }();
  Engine& e = engine();
  std::vector<double> trips, sockets;
  for (int i = 0; i < samples; ++i) {
    const auto start = Clock::now();
    if (!cefwork_test_renderer_round_trip(e.browser)) ++failures;
    trips.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    sockets.push_back(bare_connect_send_close_us(listener, port));
  }
  return median(trips) + median(sockets);
}

// Polls of the listener in the last eval_us: one per tick, plus the one
// that found the answer.
int last_polls = 0;

double eval_us(const char* script) {
  zvtest::EvalRecorder recorder;
  recorder.activate();
  const auto start = Clock::now();
  if (!cefvemo_eval(engine().browser, script, 0, &zvtest::EvalRecorder::callback)) ++failures;
  const double us = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
  last_polls = recorder.ticks + 1;
  return us;
}

// Sockets of this machine in TIME_WAIT (state 06 in /proc/net/tcp).
int time_wait_sockets() {
  std::ifstream in("/proc/net/tcp");
  std::string line;
  int n = 0;
  std::getline(in, line);  // heading
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string slot, local, remote, state;
    fields >> slot >> local >> remote >> state;
    n += state == "06";
  }
  return n;
}

void BM_Eval(benchmark::State& state) {
  constexpr int kBlock = 250;
  std::vector<double> samples, polls, floors, ratios;
  for (auto _ : state) {
    const double floor = floor_us(25);
    std::vector<double> block;
    for (int i = 0; i < kBlock; ++i) {
      block.push_back(eval_us("1+1"));
      polls.push_back(last_polls);
    }
    samples.insert(samples.end(), block.begin(), block.end());
    floors.push_back(floor);
    ratios.push_back(median(block) / floor);
  }
  const double m = median(samples);
  state.counters["polls_per_eval_median"] = median(polls);
  state.counters["floor_us"] = median(floors);
  state.counters["median_us"] = m;
  state.counters["ratio_to_floor"] = median(ratios);
  state.counters["evals_per_s"] = 1e6 / m;
  state.counters["failures"] = failures;
}

void BM_HostCall(benchmark::State& state) {
  constexpr int kCalls = 500;
  std::vector<double> per_call, floors, ratios;
  for (auto _ : state) {
    const double floor = floor_us(50);
    const double loop = eval_us("for (var i = 0; i < 500; i++) ping(); 0");
    const double empty = eval_us("for (var i = 0; i < 500; i++) {} 0");
    per_call.push_back((loop - empty) / kCalls);
    floors.push_back(floor);
    ratios.push_back(per_call.back() / floor);
  }
  state.counters["floor_us"] = median(floors);
  state.counters["median_us"] = median(per_call);
  state.counters["ratio_to_floor"] = median(ratios);
  state.counters["failures"] = failures;
}

void BM_Eval30000(benchmark::State& state) {
  for (auto _ : state) {
    const int time_wait_before = time_wait_sockets();
    std::vector<double> samples;
    samples.reserve(30000);
    for (int i = 0; i < 30000; ++i) samples.push_back(eval_us("1+1"));
    const double first = percentile({samples.begin(), samples.begin() + 1000}, 0.99);
    const double last = percentile({samples.end() - 1000, samples.end()}, 0.99);
    state.counters["p99_first_us"] = first;
    state.counters["p99_last_us"] = last;
    state.counters["ratio_last_to_first"] = last / first;
    state.counters["time_wait_growth"] = time_wait_sockets() - time_wait_before;
  }
}

double cpu_seconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
         (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void BM_WaitCpu(benchmark::State& state) {
  for (auto _ : state) {
    const double cpu_before = cpu_seconds();
    const double us = eval_us("var t = Date.now(); while (Date.now() - t < 3000) {} 0");
    const double cpu = cpu_seconds() - cpu_before;
    state.counters["wait_s"] = us / 1e6;
    state.counters["cpu_percent_of_core"] = 100 * cpu / (us / 1e6);
  }
}

// CPU time of a process so far, in seconds, from the scheduler's account.
double process_cpu_seconds(int pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/schedstat");
  double ns = 0;
  in >> ns;
  return ns / 1e9;
}

void BM_RendererWaitCpu(benchmark::State& state) {
  Engine& e = engine();
  const int renderer = cefwork_test_renderer_pid(e.browser);
  for (auto _ : state) {
    zvtest::EvalRecorder recorder;
    double cpu_before = 0, cpu_after = 0;
    std::optional<Clock::time_point> called;  // when the page's call arrived
    recorder.on_tick = [&](int) {
      if (!e.held_port) return;
      if (!called) {
        cpu_before = process_cpu_seconds(renderer);
        called = Clock::now();
      }
      if (Clock::now() - *called < std::chrono::seconds(3)) return;
      cpu_after = process_cpu_seconds(renderer);
      cefvemo_function_return(e.browser, 2, e.held_port, 0, "1");
      e.held_port = 0;
    };
    recorder.activate();
    cefvemo_eval(e.browser, "slow()", 0, &zvtest::EvalRecorder::callback);
    if (!called) continue;  // the page's call never arrived
    const double waited = std::chrono::duration<double>(Clock::now() - *called).count();
    state.counters["wait_s"] = waited;
    state.counters["cpu_percent_of_core"] = 100 * (cpu_after - cpu_before) / waited;
  }
}

BENCHMARK(BM_Eval)->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HostCall)->Iterations(60)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Eval30000)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WaitCpu)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RendererWaitCpu)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  engine();
  benchmark::RunSpecifiedBenchmarks();
  // Close the browser and stop the engine before exit.
  Engine& e = engine();
  cefvemo_close_browser(e.browser, 1);
  zvtest::pump_until([&] { return e.client.closed; });
  cefvemo_ref(e.browser, 0);
  cefvemo_shutdown();
  benchmark::Shutdown();
  return 0;
}
