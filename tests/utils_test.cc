// String and path utilities: C strings from the JVM to CEF strings, path
// joining and the subprocess program's path.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "utils/cef_string.h"
#include "utils/paths.h"
#include "utils/text.h"

namespace {

std::u16string units(const utils::CefString& s) {
  return s.get()->str ? std::u16string(s.get()->str, s.get()->length) : std::u16string();
}

TEST(Text, NullAndEmptyCStringsReadAsEmptyText) {
  EXPECT_TRUE(utils::str_from_c(nullptr).empty());
  EXPECT_TRUE(utils::str_from_c("").empty());
  const char text[] = "caf\xC3\xA9";
  const utils::Text t = utils::str_from_c(text);
  EXPECT_EQ(t.view().data(), text) << "valid UTF-8 is borrowed, not copied";
  EXPECT_EQ(t.view(), "caf\xC3\xA9");
}

TEST(Text, JavaModifiedUtf8ReachesCefAsTheSameCodeUnits) {
  // The JVM's form of u"a\U0001F600\0b\xD800c": an emoji as two 3-byte
  // surrogate sequences, U+0000 as C0 80, a lone high surrogate.
  const char modified[] = "a\xED\xA0\xBD\xED\xB8\x80\xC0\x80" "b\xED\xA0\x80" "c";
  const std::u16string expected = {u'a', 0xD83D, 0xDE00, 0, u'b', 0xD800, u'c'};
  EXPECT_EQ(units(utils::cef_string_from_c(modified)), expected);
  // The owned text keeps the emoji as one 4-byte character and reads back to
  // the same units.
  const utils::Text t = utils::str_from_c(modified);
  EXPECT_EQ(t.view().substr(0, 5), "a\xF0\x9F\x98\x80");
  EXPECT_EQ(units(utils::cef_string(t.view())), expected);
}

TEST(Text, OtherInvalidBytesBecomeReplacementCharacters) {
  struct Case {
    const char* input;
    std::u16string expected;
  } cases[] = {
      {"x\xFFy", u"x\uFFFDy"},
      {"\x80", u"\uFFFD"},
      {"\xC3", u"\uFFFD"},                   // truncated sequence
      {"\xE2\x82", u"\uFFFD\uFFFD"},         // truncated 3-byte sequence
      {"\xC1\x81", u"\uFFFD\uFFFD"},         // overlong
      {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // above U+10FFFF
  };
  for (const Case& c : cases) {
    EXPECT_EQ(units(utils::cef_string_from_c(c.input)), c.expected) << c.input;
  }
}

TEST(CefString, EmptyStringsHaveNoBuffer) {
  for (const utils::CefString& s : {utils::cef_string(""), utils::cef_string_empty(),
                                    utils::cef_string_from_c(nullptr)}) {
    EXPECT_EQ(s.get()->str, nullptr);
    EXPECT_EQ(s.get()->length, 0u);
  }
  EXPECT_EQ(units(utils::cef_string("h\xC3\xA9llo")), u"h\u00E9llo");
}

TEST(Paths, JoinInsertsTheHostSeparatorOnlyWhenNeeded) {
  const std::string sep(1, utils::kPathSeparator);
  EXPECT_EQ(utils::join_path("dir", "f"), "dir" + sep + "f");
  EXPECT_EQ(utils::join_path("dir\\", "f"), "dir\\f");
  EXPECT_EQ(utils::join_path("dir/", "f"), "dir/f");
  EXPECT_EQ(utils::join_path("", "f"), "f");
  EXPECT_EQ(utils::join_path("C:", "f"), "C:f");
}

TEST(Paths, SubprocessProgramPath) {
  const std::string sep(1, utils::kPathSeparator);
  EXPECT_EQ(utils::subp_path("C:\\eng", "1.0"), "C:\\eng" + sep + "zorvan_subp-1.0.exe");
  EXPECT_EQ(utils::subp_path("C:\\eng\\", "1.0"), "C:\\eng\\zorvan_subp-1.0.exe");
  EXPECT_EQ(utils::subp_path("", "1.0"), "zorvan_subp-1.0.exe");
  EXPECT_EQ(utils::subp_path("/opt/e", ""), "/opt/e" + sep + "zorvan_subp-.exe");
}

TEST(Paths, ParentDirectory) {
  struct Case {
    const char* dir;
    std::optional<std::string> parent;
  } cases[] = {
      {"C:\\a\\engine", "C:\\a"}, {"C:\\a\\engine\\", "C:\\a"}, {"/opt/engine", "/opt"},
      {"/opt/engine/", "/opt"},   {"/engine", "/"},             {"C:\\engine", "C:\\"},
      {"engine", ""},             {"a//b", "a"},                {"", std::nullopt},
      {"/", std::nullopt},        {"C:\\", std::nullopt},       {"C:", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(utils::parent_dir(c.dir), c.parent) << c.dir;
}

}  // namespace
