#include "support/eval_recorder.h"

namespace zvtest {
namespace {

EvalRecorder* active = nullptr;

}  // namespace

void EvalRecorder::activate() {
  if (active_) return;
  previous_ = active;
  active = this;
  active_ = true;
}

EvalRecorder::~EvalRecorder() {
  if (active_ && active == this) active = previous_;
}

void EvalRecorder::callback(int32_t flag, int32_t kind, const char* text) {
  EvalRecorder* r = active;
  if (!r) return;
  if (flag == 1) {
    ++r->ticks;
    if (r->on_tick) r->on_tick(r->ticks);
  } else if (kind == 6) {
    r->eval_requests.emplace_back(text ? text : "");
  } else {
    r->values.push_back({kind, text ? text : "", text == nullptr});
  }
}

}  // namespace zvtest
