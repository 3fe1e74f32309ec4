// The work-alike's V8 API on JavaScriptCore: evaluation and exceptions, the
// context stack, V8's number type tests, functions backed by a
// cef_v8handler_t, and process messages with their argument lists.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cefwork/test_hooks_v8.h"
#include "support/test_object.h"
#include "support/v8_scope.h"
#include "utils/cef_string.h"

namespace {

using V8Ref = CefRef<cef_v8value_t>;

// Every test ends with no value, message or list left alive.
class V8ApiTest : public testing::Test {
 protected:
  void TearDown() override {
    EXPECT_EQ(cefwork_test_live_v8values(), 0);
    EXPECT_EQ(cefwork_test_live_process_messages(), 0);
    EXPECT_EQ(cefwork_test_live_list_values(), 0);
  }
};

std::string string_of(cef_v8value_t* value) {
  utils::UserFree16 text(value->get_string_value(value));
  return utils::to_utf8(text.get());
}

TEST_F(V8ApiTest, EvalGivesTheValueOrTheException) {
  zvtest::V8Scope scope;
  V8Ref sum = scope.eval("var a = 40; a + 2");
  EXPECT_EQ(sum->get_int_value(sum.get()), 42);
  V8Ref window = scope.eval("window.a === a && window === this");
  EXPECT_EQ(window->get_bool_value(window.get()), 1);

  EXPECT_EQ(scope.eval_exception("throw new Error('boom')"), "Uncaught Error: boom");
  EXPECT_EQ(scope.eval_exception("throw 'plain'"), "Uncaught plain");
  EXPECT_NE(scope.eval_exception("}{"), "");
  EXPECT_NE(scope.eval_exception("missing_name"), "");

  // The exception tells where it happened.
  const utils::CefString code = utils::cef_string("1;\nthrow new TypeError('t');");
  const utils::CefString url = utils::cef_string("http://page/");
  cef_v8value_t* value = nullptr;
  cef_v8exception_t* exception = nullptr;
  EXPECT_EQ(scope.context()->eval(scope.context(), code.get(), url.get(), 1, &value, &exception), 0);
  EXPECT_EQ(value, nullptr);
  ASSERT_NE(exception, nullptr);
  EXPECT_EQ(exception->get_line_number(exception), 2);
  utils::UserFree16 line(exception->get_source_line(exception));
  EXPECT_EQ(utils::to_utf8(line.get()), "throw new TypeError('t');");
  utils::UserFree16 resource(exception->get_script_resource_name(exception));
  EXPECT_EQ(utils::to_utf8(resource.get()), "http://page/");
  zvtest::release(exception);
}

TEST_F(V8ApiTest, EnterAndExitKeepAStackOfContexts) {
  EXPECT_EQ(cef_v8context_in_context(), 0);
  EXPECT_EQ(cef_v8context_get_current_context(), nullptr);
  EXPECT_EQ(cef_v8value_create_array(1), nullptr);  // objects need a context
  {
    zvtest::V8Scope outer;
    zvtest::V8Scope inner;
    auto current = CefRef<cef_v8context_t>::adopt(cef_v8context_get_current_context());
    // Arguments carry a reference that the callee takes over.
    EXPECT_EQ(current->is_same(current.get(), pass_borrowed(inner.context())), 1);
    EXPECT_EQ(outer.context()->exit(outer.context()), 0);  // not the innermost
    EXPECT_EQ(cef_v8context_in_context(), 1);
  }
  EXPECT_EQ(cef_v8context_in_context(), 0);
}

TEST_F(V8ApiTest, NumberTypeTestsFollowV8) {
  zvtest::V8Scope scope;
  struct Case {
    const char* script;
    int is_int, is_uint;
  };
  const Case cases[] = {
      {"5", 1, 1},          {"10 / 2", 1, 1},        {"-1", 1, 0},         {"-2147483648", 1, 0},
      {"2147483648", 0, 1}, {"4294967295", 0, 1},    {"4294967296", 0, 0}, {"-0", 0, 0},
      {"2.5", 0, 0},        {"NaN", 0, 0},           {"Infinity", 0, 0},   {"-2147483649", 0, 0},
  };
  for (const Case& c : cases) {
    V8Ref value = scope.eval(c.script);
    EXPECT_EQ(value->is_int(value.get()), c.is_int) << c.script;
    EXPECT_EQ(value->is_uint(value.get()), c.is_uint) << c.script;
    EXPECT_EQ(value->is_double(value.get()), 1) << c.script;
    EXPECT_EQ(value->is_string(value.get()), 0) << c.script;
  }
  V8Ref big = V8Ref::adopt(cef_v8value_create_uint(3000000000u));
  EXPECT_EQ(big->is_int(big.get()), 0);
  EXPECT_EQ(big->get_uint_value(big.get()), 3000000000u);
  V8Ref minus_zero = V8Ref::adopt(cef_v8value_create_double(-0.0));
  EXPECT_EQ(minus_zero->is_int(minus_zero.get()) + minus_zero->is_uint(minus_zero.get()), 0);
}

TEST_F(V8ApiTest, TypeTestsTellValuesApart) {
  zvtest::V8Scope scope;
  struct Case {
    const char* script;
    const char* type;
  };
  const Case cases[] = {
      {"null", "null"},      {"undefined", "undefined"}, {"true", "bool"},
      {"'s'", "string"},     {"[1]", "array"},           {"(function f() {})", "function"},
      {"({})", "object"},    {"new Date(0)", "date"},    {"new ArrayBuffer(8)", "array_buffer"},
  };
  for (const Case& c : cases) {
    V8Ref v = scope.eval(c.script);
    cef_v8value_t* p = v.get();
    std::vector<std::string> types;
    if (p->is_null(p)) types.push_back("null");
    if (p->is_undefined(p)) types.push_back("undefined");
    if (p->is_bool(p)) types.push_back("bool");
    if (p->is_string(p)) types.push_back("string");
    if (p->is_array(p)) types.push_back("array");
    if (p->is_function(p)) types.push_back("function");
    if (p->is_date(p)) types.push_back("date");
    if (p->is_array_buffer(p)) types.push_back("array_buffer");
    if (types.empty() && p->is_object(p)) types.push_back("object");
    EXPECT_EQ(types, std::vector<std::string>{c.type}) << c.script;
  }
}

TEST_F(V8ApiTest, ArraysAndObjectsByIndexAndKey) {
  zvtest::V8Scope scope;
  V8Ref array = V8Ref::adopt(cef_v8value_create_array(2));
  EXPECT_EQ(array->get_array_length(array.get()), 2);
  EXPECT_EQ(array->set_value_byindex(array.get(), 0, cef_v8value_create_int(7)), 1);
  EXPECT_EQ(array->set_value_byindex(array.get(), -1, cef_v8value_create_int(7)), 0);
  V8Ref hole = V8Ref::adopt(array->get_value_byindex(array.get(), 1));
  EXPECT_EQ(hole->is_undefined(hole.get()), 1);

  V8Ref global = V8Ref::adopt(scope.context()->get_global(scope.context()));
  const utils::CefString key = utils::cef_string("list");
  EXPECT_EQ(global->set_value_bykey(global.get(), key.get(), array.pass(), V8_PROPERTY_ATTRIBUTE_NONE), 1);
  V8Ref seen = scope.eval("list[0] * 6");
  EXPECT_EQ(seen->get_int_value(seen.get()), 42);
  EXPECT_EQ(global->has_value_bykey(global.get(), key.get()), 1);
  V8Ref back = V8Ref::adopt(global->get_value_bykey(global.get(), key.get()));
  EXPECT_EQ(back->is_same(back.get(), array.pass()), 1);
  EXPECT_EQ(global->delete_value_bykey(global.get(), key.get()), 1);
  EXPECT_EQ(global->has_value_bykey(global.get(), key.get()), 0);

  // A getter that throws gives no value.
  V8Ref trap = scope.eval("var t = []; Object.defineProperty(t, 0, {get() { throw 1; }}); t");
  EXPECT_EQ(trap->get_value_byindex(trap.get(), 0), nullptr);
}

// A handler that records its calls and answers with `answer` or `error`.
struct RecordingHandler : zvtest::TestObject<cef_v8handler_t> {
  std::vector<std::string> calls;  // name, then the string of each argument
  bool receiver_is_object = false;
  double answer = 0;
  std::string error;

  RecordingHandler() {
    cef.execute = [](cef_v8handler_t* self, const cef_string_t* name, cef_v8value_t* object, size_t argc,
                     cef_v8value_t* const* arguments, cef_v8value_t** retval, cef_string_t* exception) {
      auto* handler = static_cast<RecordingHandler*>(of(self));
      handler->calls.push_back(utils::to_utf8(name));
      handler->receiver_is_object = object->is_object(object);
      zvtest::release(object);
      for (size_t i = 0; i < argc; ++i) {
        handler->calls.push_back(string_of(arguments[i]));
        zvtest::release(arguments[i]);
      }
      if (!handler->error.empty()) {
        const std::u16string message(handler->error.begin(), handler->error.end());
        cef_string_utf16_set(reinterpret_cast<const cef_char16_t*>(message.data()), message.size(), exception, 1);
      } else {
        *retval = cef_v8value_create_double(handler->answer);
      }
      return 1;
    };
  }
};

TEST_F(V8ApiTest, ScriptCallsAHandlerFunction) {
  // The function keeps its reference until the engine collects it, at the
  // latest when the process exits, so the handler lives as long as that.
  static RecordingHandler handler;
  {
    zvtest::V8Scope scope;
    const utils::CefString name = utils::cef_string("7");
    handler.refs++;  // the function takes this one over
    V8Ref function = V8Ref::adopt(cef_v8value_create_function(name.get(), &handler.cef));
    ASSERT_TRUE(function);
    EXPECT_EQ(function->is_function(function.get()), 1);
    utils::UserFree16 function_name(function->get_function_name(function.get()));
    EXPECT_EQ(utils::to_utf8(function_name.get()), "7");
    V8Ref global = V8Ref::adopt(scope.context()->get_global(scope.context()));
    const utils::CefString key = utils::cef_string("host");
    global->set_value_bykey(global.get(), key.get(), function.pass(), V8_PROPERTY_ATTRIBUTE_READONLY);

    handler.answer = 2.5;
    V8Ref result = scope.eval("var o = {f: host}; o.f('a', 'b') * 2");
    EXPECT_EQ(result->get_double_value(result.get()), 5);
    EXPECT_EQ(handler.calls, (std::vector<std::string>{"7", "a", "b"}));
    EXPECT_TRUE(handler.receiver_is_object);

    handler.error = "host says no";
    V8Ref caught = scope.eval("try { host(); 'none' } catch (e) { e.message }");
    EXPECT_EQ(string_of(caught.get()), "host says no");

    // Called from C++ too, with the arguments' references taken over.
    handler.error.clear();
    handler.answer = 1;
    cef_v8value_t* arguments[] = {cef_v8value_create_string(utils::cef_string("x").get())};
    V8Ref direct = V8Ref::adopt(function->execute_function(function.get(), nullptr, 1, arguments));
    EXPECT_EQ(direct->get_double_value(direct.get()), 1);
  }
  // Only the function's own reference may remain, until script forgets it.
  EXPECT_LE(handler.refs.load(), 2);
  EXPECT_GE(handler.refs.load(), 1);
}

TEST_F(V8ApiTest, FunctionOutsideAContextDropsTheHandler) {
  RecordingHandler handler;
  handler.refs++;
  EXPECT_EQ(cef_v8value_create_function(utils::cef_string("f").get(), &handler.cef), nullptr);
  EXPECT_EQ(handler.refs.load(), 1);
}

TEST_F(V8ApiTest, ProcessMessageHoldsItsArgumentList) {
  auto message = CefRef<cef_process_message_t>::adopt(cef_process_message_create(utils::cef_string("eval").get()));
  utils::UserFree16 name(message->get_name(message.get()));
  EXPECT_EQ(utils::to_utf8(name.get()), "eval");
  {
    auto list = CefRef<cef_list_value_t>::adopt(message->get_argument_list(message.get()));
    EXPECT_EQ(list->get_size(list.get()), 0u);
    EXPECT_EQ(list->set_int(list.get(), 0, 5), 1);
    EXPECT_EQ(list->set_string(list.get(), 2, utils::cef_string("s").get()), 1);  // grows the list
    auto nested = CefRef<cef_list_value_t>::adopt(cef_list_value_create());
    nested->set_double(nested.get(), 0, 0.5);
    EXPECT_EQ(list->set_list(list.get(), 3, nested.pass()), 1);
  }
  auto copy = CefRef<cef_process_message_t>::adopt(message->copy(message.get()));
  auto list = CefRef<cef_list_value_t>::adopt(copy->get_argument_list(copy.get()));
  ASSERT_EQ(list->get_size(list.get()), 4u);
  EXPECT_EQ(list->get_type(list.get(), 0), VTYPE_INT);
  EXPECT_EQ(list->get_int(list.get(), 0), 5);
  EXPECT_EQ(list->get_type(list.get(), 1), VTYPE_NULL);
  utils::UserFree16 s(list->get_string(list.get(), 2));
  EXPECT_EQ(utils::to_utf8(s.get()), "s");
  EXPECT_EQ(list->get_int(list.get(), 2), 0);  // not an int
  auto nested = CefRef<cef_list_value_t>::adopt(list->get_list(list.get(), 3));
  EXPECT_EQ(nested->get_double(nested.get(), 0), 0.5);
  EXPECT_EQ(list->get_type(list.get(), 9), VTYPE_INVALID);
  auto original = CefRef<cef_list_value_t>::adopt(message->get_argument_list(message.get()));
  EXPECT_EQ(list->is_equal(list.get(), original.pass()), 1);
  EXPECT_EQ(list->is_same(list.get(), original.pass()), 0);
}

}  // namespace
