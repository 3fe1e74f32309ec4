// A JavaScript context of the work-alike in the test's own process, entered
// for the lifetime of the scope, with helpers to evaluate script in it.
#pragma once

#include <string>

#include "cef/cef_capi.h"
#include "app/cef_ref.h"

namespace zvtest {

class V8Scope {
 public:
  V8Scope();
  ~V8Scope();
  V8Scope(const V8Scope&) = delete;
  V8Scope& operator=(const V8Scope&) = delete;

  cef_v8context_t* context() const { return context_.get(); }

  // The value of `script`; fails the test (and gives null) on an exception.
  CefRef<cef_v8value_t> eval(const std::string& script);
  // The message of the exception `script` throws, or "" when it throws none.
  std::string eval_exception(const std::string& script);

 private:
  CefRef<cef_v8context_t> context_;
};

}  // namespace zvtest
