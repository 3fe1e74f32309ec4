// Cost of a native call into a static Java method: through a thunk (direct
// and packed form, also while another thread keeps unbinding and rebinding
// other slots), directly with CallStaticLongMethod followed by the
// ExceptionCheck that a correct native caller makes, and through a JNA
// callback doing the same work. The program creates its own JVM.
//
// The Google Benchmark runs give each figure on its own. The ratios come
// from one interleaved run (BM_Ratios): many short rounds, each timing the
// same number of calls of every kind one after the other, and the median of
// each round's ratio. Drifts of the machine (other load, frequency, the JIT)
// then weigh on both sides of a ratio alike, which separately timed runs
// cannot promise: their figures moved by a quarter from one process to the
// next on a quiet machine.
#include <benchmark/benchmark.h>
#include <jni.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

using Callback = std::int64_t (*)(std::int64_t);

struct Fixture {
  JavaVM* vm = nullptr;
  JNIEnv* env = nullptr;
  jclass work_class = nullptr;
  jmethodID work = nullptr;
  Callback thunk_direct = nullptr;
  Callback thunk_packed = nullptr;
  Callback jna = nullptr;
  jclass ext = nullptr;
  jmethodID bind = nullptr;
  jmethodID unbind = nullptr;
};
Fixture fixture;

bool fail(const char* what) {
  if (fixture.env && fixture.env->ExceptionCheck()) fixture.env->ExceptionDescribe();
  std::fprintf(stderr, "setup failed: %s\n", what);
  return false;
}

bool set_up() {
  std::string class_path = "-Djava.class.path=" ZV_BENCH_CLASS_PATH;
  std::string library_path = "-Djava.library.path=" ZV_BENCH_LIBRARY_PATH;
  // A heap of fixed size, touched up front: the packed form allocates, and
  // the first touch of fresh heap pages is not a cost of the call.
  std::string heap_min = "-Xms256m", heap_max = "-Xmx256m", pre_touch = "-XX:+AlwaysPreTouch";
  JavaVMOption options[] = {{class_path.data(), nullptr}, {library_path.data(), nullptr},
                            {heap_min.data(), nullptr}, {heap_max.data(), nullptr},
                            {pre_touch.data(), nullptr}};
  JavaVMInitArgs args{JNI_VERSION_10, 5, options, JNI_FALSE};
  if (JNI_CreateJavaVM(&fixture.vm, reinterpret_cast<void**>(&fixture.env), &args) != JNI_OK)
    return fail("JNI_CreateJavaVM");
  JNIEnv* env = fixture.env;

  jclass work = env->FindClass("org/tessal/vemo/bench/CallbackWork");
  if (!work) return fail("CallbackWork");
  fixture.work_class = static_cast<jclass>(env->NewGlobalRef(work));
  fixture.work = env->GetStaticMethodID(work, "work", "(J)J");
  jmethodID jna_address = env->GetStaticMethodID(work, "jnaCallbackAddress", "()J");
  jclass ext = env->FindClass("org/tessal/vemo/internal/CallbackExt");
  if (!fixture.work || !jna_address || !ext) return fail("methods");
  jmethodID bind = env->GetStaticMethodID(ext, "bind",
      "(Ljava/lang/Object;Ljava/lang/Object;Ljava/lang/String;Ljava/lang/String;IZZJ)J");
  if (!bind) return fail("CallbackExt.bind");
  fixture.ext = static_cast<jclass>(env->NewGlobalRef(ext));
  fixture.bind = bind;
  fixture.unbind = env->GetStaticMethodID(ext, "unbind", "(Ljava/lang/Object;)V");
  if (!fixture.unbind) return fail("CallbackExt.unbind");

  auto bind_work = [&](const char* name, const char* signature, bool packed) {
    jlong address = env->CallStaticLongMethod(ext, bind, work, work, env->NewStringUTF(name),
                                              env->NewStringUTF(signature), 1, JNI_TRUE,
                                              packed ? JNI_TRUE : JNI_FALSE, jlong{-1});
    return reinterpret_cast<Callback>(address);
  };
  fixture.thunk_direct = bind_work("work", "(J)J", false);
  fixture.thunk_packed = bind_work("workPacked", "([J)J", true);
  fixture.jna = reinterpret_cast<Callback>(env->CallStaticLongMethod(work, jna_address));
  if (!fixture.thunk_direct || !fixture.thunk_packed || !fixture.jna) return fail("bind");
  return true;
}

void BM_CallStaticLongMethod(benchmark::State& state) {
  JNIEnv* env = fixture.env;
  std::int64_t x = 0;
  for (auto _ : state) {
    x = env->CallStaticLongMethod(fixture.work_class, fixture.work, x);
    benchmark::DoNotOptimize(x);
  }
}

// What a correct native caller pays: the call, then the check for an
// exception it must make before any further JNI call.
void BM_CallStaticLongMethodChecked(benchmark::State& state) {
  JNIEnv* env = fixture.env;
  std::int64_t x = 0;
  for (auto _ : state) {
    x = env->CallStaticLongMethod(fixture.work_class, fixture.work, x);
    benchmark::DoNotOptimize(env->ExceptionCheck());
    benchmark::DoNotOptimize(x);
  }
}

void run_callback(benchmark::State& state, Callback callback) {
  std::int64_t x = 0;
  for (auto _ : state) {
    x = callback(x);
    benchmark::DoNotOptimize(x);
  }
}

void BM_ThunkDirect(benchmark::State& state) { run_callback(state, fixture.thunk_direct); }
void BM_ThunkPacked(benchmark::State& state) { run_callback(state, fixture.thunk_packed); }
void BM_JnaCallback(benchmark::State& state) { run_callback(state, fixture.jna); }

// Another thread that works in the JVM while it is switched on; switched
// off, it sleeps. Rebinding: it binds a fresh owner to a slot and unbinds it
// again, over and over. Churning, the control: the same JVM work without the
// slot table (a fresh object, a method lookup, two global references made and
// deleted). The control shows what a busy neighbour costs on this machine
// whatever it does: two virtual cores may share one physical core's caches
// for spells of a second or more, which slows a call 2.4x on a machine where
// the neighbour only copies memory.
class Neighbour {
 public:
  enum class Work { None, Rebinding, Churning };

  Neighbour() : thread_([this] { run(); }) {}
  ~Neighbour() {
    {
      const std::lock_guard lock(mutex_);
      quit_ = true;
    }
    changed_.notify_all();
    thread_.join();
  }

  // Returns once the thread has done the new work at least once.
  void set(Work work) {
    const std::uint64_t seen = rounds_.load();
    {
      const std::lock_guard lock(mutex_);
      work_ = work;
    }
    changed_.notify_all();
    if (work != Work::None)
      while (rounds_.load() < seen + 2) std::this_thread::yield();
  }

 private:
  void run() {
    JNIEnv* env = nullptr;
    if (fixture.vm->AttachCurrentThreadAsDaemon(reinterpret_cast<void**>(&env), nullptr) != JNI_OK)
      return;
    jstring name = env->NewStringUTF("work");
    jstring signature = env->NewStringUTF("(J)J");
    for (;;) {
      Work work;
      {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return work_ != Work::None || quit_; });
        if (quit_) break;
        work = work_;
      }
      jobject owner = env->AllocObject(fixture.work_class);
      if (work == Work::Rebinding) {
        env->CallStaticLongMethod(fixture.ext, fixture.bind, owner, fixture.work_class, name,
                                  signature, 1, JNI_TRUE, JNI_FALSE, jlong{-1});
        env->CallStaticVoidMethod(fixture.ext, fixture.unbind, owner);
      } else {
        benchmark::DoNotOptimize(env->GetStaticMethodID(fixture.work_class, "work", "(J)J"));
        jobject owner_ref = env->NewGlobalRef(owner);
        jobject class_ref = env->NewGlobalRef(fixture.work_class);
        env->DeleteGlobalRef(owner_ref);
        env->DeleteGlobalRef(class_ref);
      }
      env->DeleteLocalRef(owner);
      rounds_.fetch_add(1);
    }
    fixture.vm->DetachCurrentThread();
  }

  std::mutex mutex_;
  std::condition_variable changed_;
  Work work_ = Work::None;
  bool quit_ = false;
  std::atomic<std::uint64_t> rounds_{0};
  std::thread thread_;
};

void BM_ThunkDirectWhileRebinding(benchmark::State& state) {
  Neighbour neighbour;
  neighbour.set(Neighbour::Work::Rebinding);
  run_callback(state, fixture.thunk_direct);
  neighbour.set(Neighbour::Work::None);
}

// CPU time of this thread: time the thread spent waiting for a core (the
// rebinding thread may take it) is not a cost of the call.
double thread_cpu_ns() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return now.tv_sec * 1e9 + now.tv_nsec;
}

// CPU nanoseconds per call of `n` calls.
template <typename Call>
double time_calls(int n, Call call) {
  const double start = thread_cpu_ns();
  std::int64_t x = 0;
  for (int i = 0; i < n; ++i) {
    x = call(x);
    benchmark::DoNotOptimize(x);
  }
  return (thread_cpu_ns() - start) / n;
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

// The ratios, interleaved: each round times every kind of call in turn, in
// CPU time of this thread.
void BM_Ratios(benchmark::State& state) {
  constexpr int kRounds = 300;
  constexpr int kCalls = 20000;
  JNIEnv* env = fixture.env;
  auto checked = [env](std::int64_t x) {
    x = env->CallStaticLongMethod(fixture.work_class, fixture.work, x);
    benchmark::DoNotOptimize(env->ExceptionCheck());
    return x;
  };
  Neighbour neighbour;
  for (auto _ : state) {
    std::vector<double> direct, packed, jna, rebinding, churning, baseline_ns, direct_ns;
    for (int round = 0; round < kRounds; ++round) {
      const double base = time_calls(kCalls, checked);
      const double thunk = time_calls(kCalls, fixture.thunk_direct);
      const double thunk_packed = time_calls(kCalls, fixture.thunk_packed);
      const double jna_call = time_calls(kCalls / 4, fixture.jna);
      neighbour.set(Neighbour::Work::Rebinding);
      const double thunk_rebinding = time_calls(kCalls, fixture.thunk_direct);
      neighbour.set(Neighbour::Work::Churning);
      const double thunk_churning = time_calls(kCalls, fixture.thunk_direct);
      neighbour.set(Neighbour::Work::None);
      baseline_ns.push_back(base);
      direct_ns.push_back(thunk);
      direct.push_back(thunk / base);
      packed.push_back(thunk_packed / base);
      jna.push_back(jna_call / thunk);
      rebinding.push_back(thunk_rebinding / thunk);
      churning.push_back(thunk_rebinding / thunk_churning);
    }
    state.counters["baseline_ns"] = median(baseline_ns);
    state.counters["direct_ns"] = median(direct_ns);
    state.counters["direct_to_baseline"] = median(direct);
    state.counters["packed_to_baseline"] = median(packed);
    state.counters["jna_to_direct"] = median(jna);
    state.counters["rebinding_to_quiet"] = median(rebinding);
    state.counters["rebinding_to_churning"] = median(churning);
  }
}

// The warm-up lets the JIT compile the work before timing starts. Each
// figure is the best of several repetitions, interleaved at random with the
// others (see main), so that load from elsewhere on the machine weighs on all
// figures alike.
BENCHMARK(BM_CallStaticLongMethod)->MinWarmUpTime(0.3)->Repetitions(5);
BENCHMARK(BM_CallStaticLongMethodChecked)->MinWarmUpTime(0.3)->Repetitions(5);
BENCHMARK(BM_ThunkDirect)->MinWarmUpTime(0.3)->Repetitions(5);
BENCHMARK(BM_ThunkPacked)->MinWarmUpTime(0.3)->Repetitions(5);
BENCHMARK(BM_JnaCallback)->MinWarmUpTime(0.3)->Repetitions(5);
BENCHMARK(BM_ThunkDirectWhileRebinding)->MinWarmUpTime(0.3)->Repetitions(5);
BENCHMARK(BM_Ratios)->Iterations(1)->Unit(benchmark::kMillisecond);

// Keeps each benchmark's best CPU time per iteration for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration) continue;
      for (const auto& [name, counter] : run.counters) counters_[name] = counter.value;
      double& best = times_[run.run_name.function_name];
      const double time = run.GetAdjustedCPUTime();
      if (best == 0 || time < best) best = time;
    }
    ConsoleReporter::ReportRuns(runs);
  }
  double counter(const std::string& name) const {
    auto found = counters_.find(name);
    return found == counters_.end() ? 0 : found->second;
  }
  double time(const std::string& name) const {
    auto found = times_.find(name);
    return found == times_.end() ? 0 : found->second;
  }

 private:
  std::map<std::string, double> times_;
  std::map<std::string, double> counters_;
};

}  // namespace

int main(int argc, char** argv) {
  // Interleaving is the default here; a flag given on the command line wins.
  std::vector<char*> arguments(argv, argv + argc);
  std::string interleave = "--benchmark_enable_random_interleaving=true";
  arguments.insert(arguments.begin() + 1, interleave.data());
  int count = static_cast<int>(arguments.size());
  benchmark::Initialize(&count, arguments.data());
  if (!set_up()) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);

  const double direct_jni = reporter.time("BM_CallStaticLongMethod");
  const double baseline = reporter.time("BM_CallStaticLongMethodChecked");
  const double thunk = reporter.time("BM_ThunkDirect");
  const double packed = reporter.time("BM_ThunkPacked");
  const double jna = reporter.time("BM_JnaCallback");
  const double rebinding = reporter.time("BM_ThunkDirectWhileRebinding");
  if (baseline > 0 && thunk > 0)
    std::printf("best CPU time per call: CallStaticLongMethod %.1f ns, with ExceptionCheck %.1f ns, "
                "thunk %.1f ns, packed thunk %.1f ns, JNA callback %.1f ns, "
                "thunk while rebinding %.1f ns\n",
                direct_jni, baseline, thunk, packed, jna, rebinding);
  if (reporter.counter("direct_to_baseline") > 0) {
    std::printf("interleaved rounds, medians: checked CallStaticLongMethod %.1f ns, thunk %.1f ns\n",
                reporter.counter("baseline_ns"), reporter.counter("direct_ns"));
    std::printf("thunk, direct form / checked CallStaticLongMethod: %.2fx (goal at most 1.25x)\n",
                reporter.counter("direct_to_baseline"));
    std::printf("thunk, packed form / checked CallStaticLongMethod: %.2fx (goal at most 1.6x)\n",
                reporter.counter("packed_to_baseline"));
    std::printf("JNA callback / thunk, direct form: %.2fx (goal at least 5x)\n",
                reporter.counter("jna_to_direct"));
    std::printf("thunk while another thread rebinds / quiet thunk: %.2fx (goal at most 1.5x)\n",
                reporter.counter("rebinding_to_quiet"));
    std::printf("thunk while another thread rebinds / while it does the same JVM work without "
                "binding: %.2fx\n",
                reporter.counter("rebinding_to_churning"));
  }
  benchmark::Shutdown();
  return 0;
}
