#include "support/v8_scope.h"

#include <gtest/gtest.h>

#include "cefwork/test_hooks_v8.h"
#include "utils/cef_string.h"

namespace zvtest {

V8Scope::V8Scope() : context_(CefRef<cef_v8context_t>::adopt(cefwork_test_create_v8context())) {
  EXPECT_EQ(context_->enter(context_.get()), 1);
}

V8Scope::~V8Scope() { EXPECT_EQ(context_->exit(context_.get()), 1); }

CefRef<cef_v8value_t> V8Scope::eval(const std::string& script) {
  const utils::CefString code = utils::cef_string(script);
  cef_v8value_t* value = nullptr;
  cef_v8exception_t* exception = nullptr;
  const int ok = context_->eval(context_.get(), code.get(), nullptr, 1, &value, &exception);
  auto owned_exception = CefRef<cef_v8exception_t>::adopt(exception);
  EXPECT_EQ(ok, 1) << script;
  return CefRef<cef_v8value_t>::adopt(value);
}

std::string V8Scope::eval_exception(const std::string& script) {
  const utils::CefString code = utils::cef_string(script);
  cef_v8value_t* value = nullptr;
  cef_v8exception_t* exception = nullptr;
  context_->eval(context_.get(), code.get(), nullptr, 1, &value, &exception);
  auto owned_value = CefRef<cef_v8value_t>::adopt(value);
  auto owned_exception = CefRef<cef_v8exception_t>::adopt(exception);
  if (!exception) return {};
  utils::UserFree16 message(exception->get_message(exception));
  return utils::to_utf8(message.get());
}

}  // namespace zvtest
