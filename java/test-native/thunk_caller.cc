// Test-only natives of org.tessal.vemo.internal.ThunkCaller: they call thunk
// addresses with given arguments, as CEF would, on the calling thread or on a
// native thread that the JVM does not know.
#include <jni.h>

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

// Calls each address in turn with the same arguments, recording each result
// and whether a Java exception was pending right after it. A pending
// exception is put aside while the records are written and then raised again.
JNIEXPORT void JNICALL Java_org_tessal_vemo_internal_ThunkCaller_callEach(
    JNIEnv* env, jclass, jlongArray addresses, jlongArray args, jlongArray results,
    jbooleanArray pending) {
  const std::vector<std::int64_t> thunks = read_longs(env, addresses);
  const std::vector<std::int64_t> values = read_longs(env, args);
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

}  // extern "C"
