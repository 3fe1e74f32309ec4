// Cost of a native call into a static Java method: through a thunk (direct
// and packed form), directly with CallStaticLongMethod, and through a JNA
// callback doing the same work. The program creates its own JVM; after the
// run it prints each figure's ratio to the direct JNI call.
#include <benchmark/benchmark.h>
#include <jni.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
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

// The warm-up lets the JIT compile the work before timing starts. Each
// figure is the best of several repetitions, interleaved at random with the
// others (see main), so that load from elsewhere on the machine weighs on all
// figures alike.
BENCHMARK(BM_CallStaticLongMethod)->MinWarmUpTime(0.3)->Repetitions(5);
BENCHMARK(BM_ThunkDirect)->MinWarmUpTime(0.3)->Repetitions(5);
BENCHMARK(BM_ThunkPacked)->MinWarmUpTime(0.3)->Repetitions(5);
BENCHMARK(BM_JnaCallback)->MinWarmUpTime(0.3)->Repetitions(5);

// Keeps each benchmark's best CPU time per iteration for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration) continue;
      double& best = times_[run.run_name.function_name];
      const double time = run.GetAdjustedCPUTime();
      if (best == 0 || time < best) best = time;
    }
    ConsoleReporter::ReportRuns(runs);
  }
  double time(const std::string& name) const {
    auto found = times_.find(name);
    return found == times_.end() ? 0 : found->second;
  }

 private:
  std::map<std::string, double> times_;
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
  const double thunk = reporter.time("BM_ThunkDirect");
  const double packed = reporter.time("BM_ThunkPacked");
  const double jna = reporter.time("BM_JnaCallback");
  if (direct_jni > 0 && thunk > 0) {
    std::printf("best CPU time per call: CallStaticLongMethod %.1f ns, thunk %.1f ns, "
                "packed thunk %.1f ns, JNA callback %.1f ns\n", direct_jni, thunk, packed, jna);
    std::printf("thunk, direct form / CallStaticLongMethod: %.2fx (goal at most 1.15x)\n",
                thunk / direct_jni);
    if (packed > 0)
      std::printf("thunk, packed form / CallStaticLongMethod: %.2fx (goal at most 1.8x)\n",
                  packed / direct_jni);
    if (jna > 0)
      std::printf("JNA callback / thunk, direct form: %.2fx (goal at least 6x)\n", jna / thunk);
  }
  benchmark::Shutdown();
  return 0;
}
