// Cost of a native call into a static Java method: through a thunk (direct
// and packed form, also while another thread keeps unbinding and rebinding
// other slots), directly with CallStaticLongMethod followed by the
// ExceptionCheck that a correct native caller makes, and through a JNA
// callback doing the same work. The program creates its own JVM; after the
// run it prints each figure's ratio to the direct JNI call.
#include <benchmark/benchmark.h>
#include <jni.h>

#include <cstdint>
#include <cstdio>
#include <atomic>
#include <map>
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

// Another thread binds a fresh owner to a slot and unbinds it again, over and
// over, while this one calls the direct thunk.
void BM_ThunkDirectWhileRebinding(benchmark::State& state) {
  std::atomic<bool> stop{false};
  std::thread rebinder([&] {
    JNIEnv* env = nullptr;
    if (fixture.vm->AttachCurrentThreadAsDaemon(reinterpret_cast<void**>(&env), nullptr) != JNI_OK)
      return;
    jstring name = env->NewStringUTF("work");
    jstring signature = env->NewStringUTF("(J)J");
    while (!stop.load(std::memory_order_relaxed)) {
      jobject owner = env->AllocObject(fixture.work_class);
      env->CallStaticLongMethod(fixture.ext, fixture.bind, owner, fixture.work_class, name,
                                signature, 1, JNI_TRUE, JNI_FALSE, jlong{-1});
      env->CallStaticVoidMethod(fixture.ext, fixture.unbind, owner);
      env->DeleteLocalRef(owner);
    }
    fixture.vm->DetachCurrentThread();
  });
  run_callback(state, fixture.thunk_direct);
  stop = true;
  rebinder.join();
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
  const double baseline = reporter.time("BM_CallStaticLongMethodChecked");
  const double thunk = reporter.time("BM_ThunkDirect");
  const double packed = reporter.time("BM_ThunkPacked");
  const double jna = reporter.time("BM_JnaCallback");
  const double rebinding = reporter.time("BM_ThunkDirectWhileRebinding");
  if (baseline > 0 && thunk > 0) {
    std::printf("best CPU time per call: CallStaticLongMethod %.1f ns, with ExceptionCheck %.1f ns, "
                "thunk %.1f ns, packed thunk %.1f ns, JNA callback %.1f ns, "
                "thunk while rebinding %.1f ns\n",
                direct_jni, baseline, thunk, packed, jna, rebinding);
    std::printf("thunk, direct form / checked CallStaticLongMethod: %.2fx (goal at most 1.25x)\n",
                thunk / baseline);
    if (packed > 0)
      std::printf("thunk, packed form / checked CallStaticLongMethod: %.2fx (goal at most 1.6x)\n",
                  packed / baseline);
    if (jna > 0)
      std::printf("JNA callback / thunk, direct form: %.2fx (goal at least 5x)\n", jna / thunk);
    if (rebinding > 0)
      std::printf("thunk while another thread rebinds / quiet thunk: %.2fx (goal at most 1.5x)\n",
                  rebinding / thunk);
  }
  benchmark::Shutdown();
  return 0;
}
