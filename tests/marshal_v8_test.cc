// Script values to (kind, text) and back, on real script values of a
// work-alike JavaScript context.

#include <gtest/gtest.h>

#include <string>

#include "app/marshal/array_text.h"
#include "app/marshal/v8_marshal.h"
#include "cefwork/test_hooks_v8.h"
#include "support/v8_scope.h"

namespace {

using namespace std::string_literals;

class MarshalTest : public testing::Test {
 protected:
  void TearDown() override { EXPECT_EQ(cefwork_test_live_v8values(), 0); }

  ReturnText of_script(const std::string& script) {
    auto value = scope_.eval(script);
    if (!value) return {"<exception>", ReturnType::Error};
    return v8value_to_return(value.get());
  }

  zvtest::V8Scope scope_;
};

TEST_F(MarshalTest, ScriptValuesBecomeKindAndText) {
  struct Case {
    const char* script;
    ReturnType kind;
    std::string text;
  };
  const Case cases[] = {
      {"null", ReturnType::Null, ""},
      {"undefined", ReturnType::Null, ""},
      {"true", ReturnType::Bool, "1"},
      {"false", ReturnType::Bool, "0"},
      {"5", ReturnType::Double, "5"},
      {"-7", ReturnType::Double, "-7"},
      {"4294967295", ReturnType::Double, "4294967295"},
      {"2.5", ReturnType::Double, "2.5"},
      {"Math.pow(2, 40)", ReturnType::Double, "1099511627776"},
      {"1e21", ReturnType::Double, "1000000000000000000000"},
      {"1.5e-7", ReturnType::Double, "0.00000015"},
      {"NaN", ReturnType::Double, "NaN"},
      {"Infinity", ReturnType::Double, "inf"},
      {"-Infinity", ReturnType::Double, "-inf"},
      {"-0", ReturnType::Double, "0"},
      {"''", ReturnType::Str, ""},
      {"'h\\u00e9llo \\ud83d\\ude00'", ReturnType::Str, "h\xC3\xA9llo \xF0\x9F\x98\x80"},
      {"'before\\u0000after'", ReturnType::Str, "before"},
      {"[]", ReturnType::Array, "\"\""},
      {"[1, 'x', true]", ReturnType::Array, "\"'0,1';'2,x';'1,1'\""},
      {"[[1, 2]]", ReturnType::Array, "\"'4,\"'0,1';'0,2'\"'\""},
      {"[[]]", ReturnType::Array, "\"'4,\"\"'\""},
      {"[1, , 3]", ReturnType::Array, "\"'0,1'\""},
      {"[1, undefined, 3]", ReturnType::Array, "\"'0,1'\""},
      {"[null, 2.5]", ReturnType::Array, "\"'3,';'0,2.5'\""},
      {"[\"a;b'c\\\"d,e\"]", ReturnType::Array, "\"'2,a;b'c\"d,e'\""},
      {"({})", ReturnType::Error, "51"},
      {"(function () {})", ReturnType::Error, "51"},
      {"new Date(0)", ReturnType::Error, "51"},
      {"new ArrayBuffer(4)", ReturnType::Error, "51"},
      {"[{}, 1]", ReturnType::Array, "\"'5,51';'0,1'\""},
      // An array that holds itself is written once; the inner copy is not
      // convertible.
      {"var a = [1]; a.push(a); a", ReturnType::Array, "\"'0,1';'5,51'\""},
  };
  for (const Case& c : cases) {
    const ReturnText result = of_script(c.script);
    EXPECT_EQ(result.kind, c.kind) << c.script;
    EXPECT_EQ(result.text, c.text) << c.script;
  }
}

TEST_F(MarshalTest, ArraysStopAfter9999Elements) {
  const ReturnText result = of_script("Array.from({length: 10000}, (_, i) => i)");
  ArrayPieces pieces = split_array_text(result.text);
  ASSERT_EQ(pieces.elements.size(), 9999u);
  EXPECT_EQ(pieces.elements.back(), "'0,9998'");
}

TEST_F(MarshalTest, DeepArraysEndInNotConvertible) {
  const ReturnText result = of_script("var d = [1]; for (let i = 0; i < 150; ++i) d = [d]; d");
  EXPECT_EQ(result.kind, ReturnType::Array);
  EXPECT_NE(result.text.find("'5,51'"), std::string::npos);
  EXPECT_EQ(result.text.find("'0,1'"), std::string::npos);
}

// Arrays that share their sub-arrays or strings are small in the page but
// would have an exponentially long text; past a bound on the elements and
// text written, the value is not convertible. A large array of distinct
// elements is still written.
TEST_F(MarshalTest, SharedSubArraysDoNotMultiplyTheText) {
  // As an evaluated result, with the context entered around each array.
  auto nested = scope_.eval("var a = ['x'.repeat(4096)]; for (var i = 0; i < 30; i++) a = [a, a]; a");
  const ReturnText result = v8value_to_return(nested.get(), scope_.context());
  EXPECT_EQ(result.kind, ReturnType::Error);
  EXPECT_EQ(result.text, "51");
  EXPECT_LT(result.text.capacity(), 64u);
  EXPECT_EQ(cef_v8context_in_context(), 1);

  // As a host function's argument, without a context.
  const ReturnText strings =
      of_script("var s = 'x'.repeat(1 << 16); var b = []; for (var i = 0; i < 9999; i++) b.push(s); [b, b, b]");
  EXPECT_EQ(strings.kind, ReturnType::Error);
  EXPECT_EQ(strings.text, "51");

  const ReturnText wide = of_script("Array.from({length: 9999}, (_, i) => Array.from({length: 50}, () => i))");
  EXPECT_EQ(wide.kind, ReturnType::Array);
  EXPECT_EQ(split_array_text(wide.text).elements.size(), 9999u);
}

TEST_F(MarshalTest, TheGivenContextIsEnteredAroundAnArray) {
  auto array = scope_.eval("[[1], [2]]");
  EXPECT_EQ(v8value_to_return(array.get(), scope_.context()).text, "\"'4,\"'0,1'\"';'4,\"'0,2'\"'\"");
  // Balanced: the scope's own exit still succeeds (checked by the scope).
  EXPECT_EQ(cef_v8context_in_context(), 1);
}

// Reads (kind, text) into a value and writes it out again.
ReturnText round_trip(ReturnType kind, std::string_view text, std::string* error = nullptr) {
  MadeValue made = return_to_v8value(kind, text);
  if (error) *error = made.error;
  if (!made.value) return {"<" + made.error + ">", ReturnType::Error};
  return v8value_to_return(made.value.get());
}

TEST_F(MarshalTest, KindAndTextBecomeValues) {
  struct Case {
    ReturnType kind;
    std::string text;
    ReturnType made_kind;
    std::string made_text;
  };
  const Case cases[] = {
      {ReturnType::Double, "2.5", ReturnType::Double, "2.5"},
      {ReturnType::Double, "-1e3", ReturnType::Double, "-1000"},
      {ReturnType::Double, "NaN", ReturnType::Double, "NaN"},
      {ReturnType::Double, "1e999", ReturnType::Double, "inf"},
      {ReturnType::Bool, "-7", ReturnType::Bool, "1"},
      {ReturnType::Bool, "0", ReturnType::Bool, "0"},
      {ReturnType::Str, "", ReturnType::Str, ""},
      {ReturnType::Str, "h\xC3\xA9", ReturnType::Str, "h\xC3\xA9"},
      // Modified UTF-8 from the JVM: an encoded U+0000 ends the text when
      // it is written again.
      {ReturnType::Str, "a\xC0\x80z", ReturnType::Str, "a"},
      {ReturnType::Null, "ignored", ReturnType::Null, ""},
      {ReturnType::Array, "\"\"", ReturnType::Array, "\"\""},
      {ReturnType::Array, "\"'0,1';'2,x';'1,1'\"", ReturnType::Array, "\"'0,1';'2,x';'1,1'\""},
      {ReturnType::Array, "\"'4,\"'0,1';'0,2'\"'\"", ReturnType::Array, "\"'4,\"'0,1';'0,2'\"'\""},
      {ReturnType::Array, "\"'3,';'1,+5'\"", ReturnType::Array, "\"'3,';'1,1'\""},
  };
  for (const Case& c : cases) {
    std::string error;
    const ReturnText result = round_trip(c.kind, c.text, &error);
    EXPECT_EQ(error, "") << c.text;
    EXPECT_EQ(result.kind, c.made_kind) << c.text;
    EXPECT_EQ(result.text, c.made_text) << c.text;
  }
}

TEST_F(MarshalTest, UnreadableTextsGiveTheirFailureText) {
  struct Case {
    ReturnType kind;
    std::string text;
    std::string error;
  };
  const Case cases[] = {
      {ReturnType::Double, "abc", "cannot parse f64"},
      {ReturnType::Double, "", "cannot parse f64"},
      {ReturnType::Double, " 1", "cannot parse f64"},
      {ReturnType::Bool, "1.5", "cannot parse i32"},
      {ReturnType::Bool, "2147483648", "cannot parse i32"},
      {ReturnType::Array, "", "not quoted"},
      {ReturnType::Array, "x", "not quoted"},
      {ReturnType::Array, "\xC3\xA9", "not quoted"},
      {ReturnType::Array, "\"x\"", "elem not quoted"},
      {ReturnType::Array, "\"'0,1';'5,51'\"", "invalid elem type"},
      {ReturnType::Array, "\"'6,1,x'\"", "invalid elem type"},
      {ReturnType::Array, "\"'9,1'\"", "invalid elem type"},
      {ReturnType::Array, "\"'0,x'\"", "invalid elem type"},
      {ReturnType::Array, "\"'01'\"", "elem has no value"},
      {ReturnType::Array, "\"'a,1'\"", "cannot parse i32"},
      // Strings with the separators do not survive the trip.
      {ReturnType::Array, "\"'2,a;b'\"", "elem has no value"},
      // Nested two deep with several innermost elements: the flag does not
      // count depth, so the innermost semicolons cut the outer array.
      {ReturnType::Array, "\"'4,\"'4,\"'0,1';'0,2'\"'\"'\"", "invalid elem type"},
      {ReturnType::Error, "host failure", "host failure"},
      {ReturnType::Eval, "1,x", "1,x"},
      {ReturnType::from_byte(9), "nine", "nine"},
  };
  for (const Case& c : cases) {
    MadeValue made = return_to_v8value(c.kind, c.text);
    EXPECT_EQ(made.error, c.error) << c.text;
    EXPECT_EQ(static_cast<bool>(made.value), c.error.empty()) << c.text;
  }
}

TEST_F(MarshalTest, DeeplyNestedTextIsRefusedNotFollowed) {
  constexpr int kLevels = 100000;
  std::string text;
  for (int i = 0; i < kLevels; ++i) text += "\"'4,";
  text += "\"'0,1'\"";
  for (int i = 0; i < kLevels; ++i) text += "'\"";
  // Far deeper than any stack allows when followed level by level.
  EXPECT_EQ(return_to_v8value(ReturnType::Array, text).error, "invalid elem type");
}

TEST(MarshalOutsideContextTest, ValuesNeedingAContextFail) {
  EXPECT_EQ(return_to_v8value(ReturnType::Array, "\"\"").error, "no V8 context");
  MadeValue number = return_to_v8value(ReturnType::Double, "1");  // primitives need none
  EXPECT_TRUE(number.value);
}

}  // namespace
