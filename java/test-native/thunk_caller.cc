// Test-only natives of org.tessal.vemo.internal.ThunkCaller: they call thunk
// addresses with given arguments, as CEF would, on the calling thread or on a
// native thread that the JVM does not know, or on several native threads at
// once while Java code changes the bindings.
#include <jni.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <thread>
#include <utility>
#include <vector>

namespace {

template <std::size_t>
using Arg = std::int64_t;

template <std::size_t... I>
std::int64_t call_with(jlong address, const std::int64_t* args, std::index_sequence<I...>) {
  using Function = std::int64_t (*)(Arg<I>...);
  return reinterpret_cast<Function>(address)(args[I]...);
}

template <std::size_t... A>
std::int64_t call_arity(jlong address, const std::vector<std::int64_t>& args,
                        std::index_sequence<A...>) {
  std::int64_t result = 0;
  ((args.size() == A ? (result = call_with(address, args.data(), std::make_index_sequence<A>{}), 0)
                     : 0),
   ...);
  return result;
}

// Calls the thunk at `address` with exactly args.size() arguments (0 to 12).
std::int64_t call_thunk(jlong address, const std::vector<std::int64_t>& args) {
  return call_arity(address, args, std::make_index_sequence<13>{});
}

std::vector<std::int64_t> read_longs(JNIEnv* env, jlongArray array) {
  std::vector<std::int64_t> values(array ? env->GetArrayLength(array) : 0);
  if (!values.empty())
    env->GetLongArrayRegion(array, 0, static_cast<jsize>(values.size()),
                            reinterpret_cast<jlong*>(values.data()));
  return values;
}

bool attached(JavaVM* vm) {
  void* env = nullptr;
  return vm->GetEnv(&env, JNI_VERSION_1_4) == JNI_OK;
}

// The generation of the newest binding, as last published by the test.
std::atomic<std::int64_t> published_epoch{0};

// What calling threads saw while the bindings changed under them: results of
// methods bound with generation g are (g << 16) | kTokenMark.
constexpr std::int64_t kTokenMark = 0x7E57;

struct Tally {
  std::int64_t calls = 0, method_runs = 0, zeros = 0, violations = 0;
  std::int64_t bad_result = 0, bad_epoch_before = 0, bad_epoch_after = 0;

  // A result is either 0 (free, retiring, disabled or another arity) or the
  // token of a binding that was current at some moment of the call: not one
  // unbound before the call began, not one bound after it ended.
  void count(std::int64_t result, std::int64_t before, std::int64_t after) {
    ++calls;
    if (result == 0) {
      ++zeros;
      return;
    }
    const std::int64_t generation = result >> 16;
    if ((result & 0xFFFF) == kTokenMark && generation >= before && generation <= after + 1) {
      ++method_runs;
      return;
    }
    if (violations++ == 0) {
      bad_result = result;
      bad_epoch_before = before;
      bad_epoch_after = after;
    }
  }

  void add(const Tally& other) {
    if (violations == 0 && other.violations > 0) {
      bad_result = other.bad_result;
      bad_epoch_before = other.bad_epoch_before;
      bad_epoch_after = other.bad_epoch_after;
    }
    calls += other.calls;
    method_runs += other.method_runs;
    zeros += other.zeros;
    violations += other.violations;
  }
};

// Calls the thunks in turn with one argument, the epoch seen before the call,
// until told to stop. An attached thread stays attached throughout; the
// others are unknown to the JVM, so each call attaches them.
void call_until_stopped(JavaVM* vm, bool attach, const std::vector<std::int64_t>& thunks,
                        const std::atomic<bool>& stop, Tally& tally) {
  void* env = nullptr;
  if (attach && vm->AttachCurrentThreadAsDaemon(&env, nullptr) != JNI_OK) attach = false;
  for (std::size_t i = 0; !stop.load(std::memory_order_relaxed); ++i) {
    const std::int64_t before = published_epoch.load();
    const std::int64_t result = call_thunk(thunks[i % thunks.size()], {before});
    tally.count(result, before, published_epoch.load());
  }
  if (attach) vm->DetachCurrentThread();
}

void throw_illegal_argument(JNIEnv* env, const char* message) {
  jclass type = env->FindClass("java/lang/IllegalArgumentException");
  if (type) env->ThrowNew(type, message);
}

}  // namespace

extern "C" {

JNIEXPORT jlong JNICALL Java_org_tessal_vemo_internal_ThunkCaller_call(JNIEnv* env, jclass,
                                                                      jlong address,
                                                                      jlongArray args) {
  const std::vector<std::int64_t> values = read_longs(env, args);
  if (values.size() > 12) {
    throw_illegal_argument(env, "at most 12 arguments");
    return 0;
  }
  return call_thunk(address, values);
}

// Raises `raised_first` (if not null), then calls each address in turn with
// the same arguments, recording each result and whether a Java exception was
// pending right after it. A pending exception is put aside while the records
// are written and then raised again.
JNIEXPORT void JNICALL Java_org_tessal_vemo_internal_ThunkCaller_callEach(
    JNIEnv* env, jclass, jthrowable raised_first, jlongArray addresses, jlongArray args,
    jlongArray results, jbooleanArray pending) {
  const std::vector<std::int64_t> thunks = read_longs(env, addresses);
  const std::vector<std::int64_t> values = read_longs(env, args);
  if (raised_first) env->Throw(raised_first);
  std::vector<jlong> outcomes;
  std::vector<jboolean> pending_after;
  for (std::int64_t thunk : thunks) {
    outcomes.push_back(call_thunk(thunk, values));
    pending_after.push_back(env->ExceptionCheck());
  }
  jthrowable error = env->ExceptionOccurred();
  if (error) env->ExceptionClear();
  env->SetLongArrayRegion(results, 0, static_cast<jsize>(outcomes.size()), outcomes.data());
  env->SetBooleanArrayRegion(pending, 0, static_cast<jsize>(pending_after.size()),
                             pending_after.data());
  if (error) env->Throw(error);
}

// Calls the thunk on a new native thread and returns {result, whether the
// thread was attached before the call, whether it was attached after it}.
JNIEXPORT jlongArray JNICALL Java_org_tessal_vemo_internal_ThunkCaller_callOnNewThread(
    JNIEnv* env, jclass, jlong address, jlongArray args) {
  JavaVM* vm = nullptr;
  env->GetJavaVM(&vm);
  const std::vector<std::int64_t> values = read_longs(env, args);
  jlong outcome[3] = {};
  std::thread caller([&] {
    outcome[1] = attached(vm);
    outcome[0] = call_thunk(address, values);
    outcome[2] = attached(vm);
  });
  caller.join();
  jlongArray result = env->NewLongArray(3);
  if (result) env->SetLongArrayRegion(result, 0, 3, outcome);
  return result;
}

// On one new native thread, `rounds` times: attaches the thread itself (as a
// daemon every other round), calls the thunk, detaches the thread, and calls
// the thunk again while the JVM does not know the thread. Returns per round
// {the id of the Java thread the attachment made, the first result, the
// second result, whether the thread was attached after the second call}.
JNIEXPORT jlongArray JNICALL Java_org_tessal_vemo_internal_ThunkCaller_callAcrossAttachments(
    JNIEnv* env, jclass, jlong address, jint rounds) {
  JavaVM* vm = nullptr;
  env->GetJavaVM(&vm);
  if (rounds < 1) {
    throw_illegal_argument(env, "no rounds");
    return nullptr;
  }
  std::vector<jlong> outcome(4 * static_cast<std::size_t>(rounds));
  std::thread caller([&] {
    for (int r = 0; r < rounds; ++r) {
      JNIEnv* own = nullptr;
      const jint attach = r % 2 ? vm->AttachCurrentThread(reinterpret_cast<void**>(&own), nullptr)
                                : vm->AttachCurrentThreadAsDaemon(reinterpret_cast<void**>(&own),
                                                                  nullptr);
      if (attach != JNI_OK) return;
      jclass thread_class = own->FindClass("java/lang/Thread");
      jobject thread = own->CallStaticObjectMethod(
          thread_class, own->GetStaticMethodID(thread_class, "currentThread", "()Ljava/lang/Thread;"));
      outcome[4 * r] = own->CallLongMethod(thread, own->GetMethodID(thread_class, "getId", "()J"));
      own->DeleteLocalRef(thread);
      own->DeleteLocalRef(thread_class);
      outcome[4 * r + 1] = call_thunk(address, {});
      vm->DetachCurrentThread();
      outcome[4 * r + 2] = call_thunk(address, {});
      outcome[4 * r + 3] = attached(vm);
    }
  });
  caller.join();
  jlongArray result = env->NewLongArray(static_cast<jsize>(outcome.size()));
  if (result) env->SetLongArrayRegion(result, 0, static_cast<jsize>(outcome.size()), outcome.data());
  return result;
}

JNIEXPORT void JNICALL Java_org_tessal_vemo_internal_ThunkCaller_publish(JNIEnv*, jclass,
                                                                         jlong epoch) {
  published_epoch.store(epoch);
}

// Runs `churn` on this thread while `threads` native threads (every other one
// attached to the JVM throughout, the rest unknown to it) call the thunks in
// turn; returns {calls, method runs, zeros, violations, first violating
// result, epoch before it, epoch after it}.
JNIEXPORT jlongArray JNICALL Java_org_tessal_vemo_internal_ThunkCaller_callWhile(
    JNIEnv* env, jclass, jlongArray addresses, jint threads, jobject churn) {
  JavaVM* vm = nullptr;
  env->GetJavaVM(&vm);
  const std::vector<std::int64_t> thunks = read_longs(env, addresses);
  jclass runnable = env->GetObjectClass(churn);
  jmethodID run = runnable ? env->GetMethodID(runnable, "run", "()V") : nullptr;
  if (!run || thunks.empty() || threads < 1) {
    if (!env->ExceptionCheck()) throw_illegal_argument(env, "no thunks, threads or run()");
    return nullptr;
  }

  std::atomic<bool> stop{false};
  std::vector<Tally> tallies(threads);
  std::vector<std::thread> callers;
  for (int i = 0; i < threads; ++i)
    callers.emplace_back(call_until_stopped, vm, i % 2 == 0, std::cref(thunks), std::cref(stop),
                         std::ref(tallies[i]));
  env->CallVoidMethod(churn, run);
  stop = true;
  for (std::thread& caller : callers) caller.join();
  if (env->ExceptionCheck()) return nullptr;

  Tally total;
  for (const Tally& tally : tallies) total.add(tally);
  const jlong outcome[] = {total.calls, total.method_runs, total.zeros, total.violations,
                           total.bad_result, total.bad_epoch_before, total.bad_epoch_after};
  jlongArray result = env->NewLongArray(std::size(outcome));
  if (result) env->SetLongArrayRegion(result, 0, std::size(outcome), outcome);
  return result;
}

// Calls the thunk without arguments `rounds` times on each of `threads` new
// native threads at once; returns the results, thread by thread.
JNIEXPORT jlongArray JNICALL Java_org_tessal_vemo_internal_ThunkCaller_callConcurrently(
    JNIEnv* env, jclass, jlong address, jint threads, jint rounds) {
  if (threads < 1 || rounds < 1) {
    throw_illegal_argument(env, "no threads or rounds");
    return nullptr;
  }
  std::vector<jlong> results(static_cast<std::size_t>(threads) * rounds);
  std::vector<std::thread> callers;
  for (int t = 0; t < threads; ++t)
    callers.emplace_back([&results, address, rounds, t] {
      for (int r = 0; r < rounds; ++r) results[t * rounds + r] = call_thunk(address, {});
    });
  for (std::thread& caller : callers) caller.join();
  jlongArray result = env->NewLongArray(static_cast<jsize>(results.size()));
  if (result) env->SetLongArrayRegion(result, 0, static_cast<jsize>(results.size()), results.data());
  return result;
}

}  // extern "C"
