// Number and array texts without V8: the format written, the syntax read,
// and the cutting of array texts into elements.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include "app/marshal/array_text.h"
#include "app/marshal/number_text.h"

namespace {

std::string format(double value) {
  std::string out;
  append_double(out, value);
  return out;
}

TEST(NumberTextTest, DoublesArePlainShortestDecimals) {
  const double inf = std::numeric_limits<double>::infinity();
  const std::pair<double, std::string> cases[] = {
      {0.5, "0.5"},
      {2.5, "2.5"},
      {-2.5, "-2.5"},
      {0.1, "0.1"},
      {5, "5"},
      {std::ldexp(1.0, 40), "1099511627776"},
      {1e21, "1" + std::string(21, '0')},
      {1.5e-7, "0.00000015"},
      {123456.789, "123456.789"},
      {std::numeric_limits<double>::quiet_NaN(), "NaN"},
      {inf, "inf"},
      {-inf, "-inf"},
      {-0.0, "0"},
      {5e-324, "0." + std::string(323, '0') + "5"},
  };
  for (const auto& [value, text] : cases) EXPECT_EQ(format(value), text) << value;
  EXPECT_EQ(format(std::numeric_limits<double>::max()).size(), 309u);
}

TEST(NumberTextTest, EveryFiniteDoubleReadsBackExactly) {
  std::mt19937_64 bits(20260512);
  for (int i = 0; i < 20000; ++i) {
    const uint64_t raw = bits();
    double value;
    std::memcpy(&value, &raw, sizeof value);
    if (!std::isfinite(value)) continue;
    const std::string text = format(value);
    ASSERT_EQ(text.find_first_of("eE"), std::string::npos) << text;
    const std::optional<double> back = parse_double(text);
    ASSERT_TRUE(back) << text;
    EXPECT_EQ(*back, value == 0 ? 0.0 : value) << text;
  }
}

TEST(NumberTextTest, DoubleSyntax) {
  const double inf = std::numeric_limits<double>::infinity();
  const std::pair<const char*, double> accepted[] = {
      {"1", 1},       {"+1", 1},     {"-1", -1},      {"1.", 1},       {".5", 0.5},     {"-.5", -0.5},
      {"1e5", 1e5},   {"1E-5", 1e-5}, {"2.5e+2", 250}, {"007", 7},     {"inf", inf},    {"-inf", -inf},
      {"+inf", inf},  {"1e400", inf}, {"-1e400", -inf}, {"1e-400", 0}, {"9007199254740993", 9007199254740992.0},
  };
  for (const auto& [text, value] : accepted) {
    const std::optional<double> read = parse_double(text);
    ASSERT_TRUE(read) << text;
    EXPECT_EQ(*read, value) << text;
  }
  EXPECT_TRUE(std::isnan(*parse_double("NaN")));
  for (const char* text : {"", "+", "-", ".", "e5", "1e", "1e+", " 1", "1 ", "Inf", "nan", "infinity", "0x10",
                           "1.2.3", "--1", "+-1", "1,5", "1f"})
    EXPECT_FALSE(parse_double(text)) << '"' << text << '"';
}

TEST(NumberTextTest, IntegerSyntax) {
  const std::pair<const char*, int32_t> accepted[] = {
      {"0", 0}, {"-7", -7}, {"+7", 7}, {"00012", 12}, {"2147483647", 2147483647}, {"-2147483648", INT32_MIN}};
  for (const auto& [text, value] : accepted) EXPECT_EQ(parse_i32(text), value) << text;
  for (const char* text : {"", "+", "-", "2147483648", "-2147483649", " 1", "1 ", "1.0", "+-1", "-+1", "1e3", "x"})
    EXPECT_FALSE(parse_i32(text)) << '"' << text << '"';
}

TEST(ArrayTextTest, WriterProducesTheElementForm) {
  std::string out = "prefix";
  {
    ArrayTextWriter writer(out);
    writer.int_element(1);
    writer.begin_element(ReturnType::Str);
    out += 'x';
    writer.number_element(2.5);
    writer.int_element(INT64_MIN);
    writer.begin_element(ReturnType::Bool);
    out += '1';
    writer.number_element(-7);
    writer.finish();
  }
  EXPECT_EQ(out, "prefix\"'0,1';'2,x';'0,2.5';'0,-9223372036854775808';'1,1';'0,-7'\"");

  std::string empty;
  ArrayTextWriter(empty).finish();
  EXPECT_EQ(empty, "\"\"");
}

// Runs of number elements go through spare room at the end of the text:
// long runs, nested writers and mixed elements come out as written one by
// one.
TEST(ArrayTextTest, LongNumberRunsMatchElementByElement) {
  std::mt19937_64 random(5);
  std::string fast;
  std::string plain;
  {
    ArrayTextWriter outer(fast);
    plain += '"';
    for (int i = 0; i < 3000; ++i) {
      if (i > 0) plain += ';';
      const uint64_t pick = random();
      if (pick % 50 == 0) {
        outer.begin_element(ReturnType::Array);
        ArrayTextWriter inner(fast);
        inner.number_element(5e-324);
        inner.finish();
        plain += "'4,\"'0,";
        append_double(plain, 5e-324);
        plain += "'\"'";
        continue;
      }
      const int64_t integer = static_cast<int32_t>(pick >> 7);
      if (pick % 3 == 0) outer.int_element(integer);
      else outer.number_element(integer / 8.0);
      plain += "'0,";
      if (pick % 3 == 0) append_int(plain, integer);
      else append_double(plain, integer / 8.0);
      plain += '\'';
    }
    outer.finish();
    plain += '"';
  }
  EXPECT_EQ(fast, plain);
}

TEST(ArrayTextTest, SplitsAtSemicolonsOutsideDoubleQuotes) {
  using Pieces = std::vector<std::string_view>;
  const std::pair<const char*, Pieces> cases[] = {
      {"\"\"", {}},
      {"\"'0,1'\"", {"'0,1'"}},
      {"\"a;b\"", {"a", "b"}},
      {"\";x\"", {"", "x"}},
      {"\"x;\"", {"x"}},
      {"\"a;;b\"", {"a", "", "b"}},
      {"\"'4,\"'0,1';'0,2'\"';'0,3'\"", {"'4,\"'0,1';'0,2'\"'", "'0,3'"}},
      {"xa;bx", {"a", "b"}},  // the outer characters are not compared
  };
  for (const auto& [text, pieces] : cases) {
    ArrayPieces split = split_array_text(text);
    EXPECT_TRUE(split.error.empty()) << text;
    EXPECT_EQ(split.elements, pieces) << text;
  }
  for (const char* text : {"", "\"", "\xC3\xA9", "\"x\xC3\xA9", "\xC3\xA9x\""})
    EXPECT_EQ(split_array_text(text).error, "not quoted") << text;
}

TEST(ArrayTextTest, ReadsAnElementsKindAndValue) {
  struct Case {
    const char* element;
    int32_t kind;
    const char* value;
    const char* error;
  };
  const Case cases[] = {
      {"'0,1'", 0, "1", ""},
      {"'2,a,b'", 2, "a,b", ""},
      {"'2,it's'", 2, "it's", ""},
      {"'3,'", 3, "", ""},
      {"'-1,x'", -1, "x", ""},
      {"'9,x'", 9, "x", ""},
      {"x", 0, "", "elem not quoted"},
      {"", 0, "", "elem not quoted"},
      {"'05'", 0, "", "elem has no value"},
      {"''0',5'", 0, "", "cannot parse i32"},
      {"'a,1'", 0, "", "cannot parse i32"},
  };
  for (const Case& c : cases) {
    const ElementText element = read_element(c.element);
    EXPECT_EQ(std::string_view(element.error() ? element.error() : ""), c.error) << c.element;
    if (element.error()) continue;
    EXPECT_EQ(element.kind, c.kind) << c.element;
    EXPECT_EQ(element.value, c.value) << c.element;
  }
}

// Kind-0 numbers are read while the text is cut, as parse_double reads
// them; other elements keep only their value text.
TEST(ArrayTextTest, NumbersAreReadWhileCutting) {
  const std::string text =
      "\"'0,7';'0,-0';'0,007';'0,123456789012345';'0,-2147483648';'0,1234567890123456';'0,-1.5e3';'0,.5';"
      "'0,-inf';'0,1e999';'0,+5';'0,-';'0,';'0,--1';'0,12a';'2,12';'0,9'\"";
  std::vector<ElementText> elements;
  ASSERT_EQ(read_array_text(text, elements), nullptr);
  const bool read_as_number[] = {true, true,  true,  true,  true,  true,  true,  true, true,
                                 true, false, false, false, false, false, false, true};
  ASSERT_EQ(elements.size(), std::size(read_as_number));
  for (size_t i = 0; i < elements.size(); ++i) {
    const ElementText& element = elements[i];
    EXPECT_EQ(element.has_number, read_as_number[i]) << element.value;
    if (!element.has_number) continue;
    const std::optional<double> parsed = parse_double(element.value);
    ASSERT_TRUE(parsed) << element.value;
    EXPECT_EQ(element.number, *parsed) << element.value;
    EXPECT_EQ(std::signbit(element.number), std::signbit(*parsed)) << element.value;
  }
}

}  // namespace
