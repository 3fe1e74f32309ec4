// Receives what cefvemo_eval and cefvemo_function_arg hand to their return
// callback: ticks are counted, values and Eval requests kept in order.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace zvtest {

struct ReturnedValue {
  int32_t kind;
  std::string text;
  bool null_text;
};

struct EvalRecorder {
  int ticks = 0;
  std::vector<ReturnedValue> values;    // flag 0, kinds other than Eval
  std::vector<std::string> eval_requests;  // flag 0, kind Eval
  std::function<void(int tick)> on_tick;

 private:
  EvalRecorder* previous_ = nullptr;
  bool active_ = false;

 public:

  // Makes this the recorder the callback writes to; the one active before
  // is active again when this one goes away (recorders nest like waits).
  void activate();
  ~EvalRecorder();
  EvalRecorder() = default;
  EvalRecorder(const EvalRecorder&) = delete;
  EvalRecorder& operator=(const EvalRecorder&) = delete;
  static void callback(int32_t flag, int32_t kind, const char* text);
};

}  // namespace zvtest
