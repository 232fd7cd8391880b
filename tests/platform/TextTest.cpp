#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "platform/Codepage.h"
#include "platform/Text.h"

namespace orv {
namespace {

TEST(TextBlanks, RemovesAsciiAndIdeographicSpacesOnly) {
  EXPECT_EQ(RemoveBlanks(" 春 节　快乐 "), "春节快乐");
  EXPECT_EQ(RemoveBlanks("a\tb\r\nc"), "a\tb\r\nc");  // tabs and line breaks stay
  EXPECT_TRUE(IsBlank(""));
  EXPECT_TRUE(IsBlank("  　 "));
  EXPECT_FALSE(IsBlank(" \t "));
  // A character whose UTF-8 bytes contain 0x80 0x80 after another lead byte is not a blank.
  EXPECT_EQ(RemoveBlanks("\xE4\x80\x80"), "\xE4\x80\x80");
}

TEST(TextReplace, RemovesEveryOccurrenceLeftToRight) {
  EXPECT_EQ(RemoveAll("文章预览:标题文章预览:", "文章预览:"), "标题");
  EXPECT_EQ(RemoveAll("aaa", "aa"), "a");
  EXPECT_EQ(RemoveAll("abc", ""), "abc");
  EXPECT_EQ(ReplaceAll("a\\/b\\/c\\x", "\\/", "/"), "a/b/c\\x");
}

TEST(TextSplit, KeepsInnerEmptyPiecesAndDropsAnEmptyTail) {
  struct Case {
    std::string text;
    std::vector<std::string> pieces;
  };
  const std::vector<Case> cases = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\nb", {"a", "b"}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\r\n\r\nb", {"a", "", "b"}},
      {"\r\na", {"", "a"}},
      {"\r\n", {""}},
      {"搞笑\r\n美文", {"搞笑", "美文"}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitText(c.text, "\r\n"), c.pieces) << c.text;
  EXPECT_EQ(SplitText("t<-><+><->u", "<-><+><->"), (std::vector<std::string>{"t", "u"}));
  EXPECT_EQ(SplitText("t<-><+><->", "<-><+><->"), (std::vector<std::string>{"t"}));
}

TEST(TextNumbers, IntegerReading) {
  struct Case {
    std::string text;
    int32_t value;
  };
  const std::vector<Case> cases = {
      {"", 0},          {"abc", 0},        {"42", 42},           {"  -7x", -7},       {"+5", 5},
      {"12.9", 12},     {"-", 0},          {"１２３", 123},       {"－３", -3},         {"　 8", 8},
      {"0x1F", 0},      {"007", 7},        {"99999999999", INT32_MAX}, {"-99999999999", INT32_MIN},
      {"1 2", 1},       {"\t9", 9},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadInteger(c.text), c.value) << c.text;
}

TEST(TextNumbers, NumberReadingAndTruncation) {
  struct Case {
    std::string text;
    double value;
    int32_t truncated;
  };
  const std::vector<Case> cases = {
      {"", 0, 0},
      {"abc", 0, 0},
      {"1", 1, 1},
      {"0.0000002", 0.0000002, 0},
      {"12.9", 12.9, 12},
      {"-12.9", -12.9, -12},
      {".5", 0.5, 0},
      {"5.", 5, 5},
      {".", 0, 0},
      {"1e3", 1000, 1000},
      {"2E-2x", 0.02, 0},
      {"3e", 3, 3},
      {"3e+", 3, 3},
      {"１２．５", 12.5, 12},
      {"inf", 0, 0},
      {"nan", 0, 0},
      {"0x10", 0, 0},
      {"1e400", HUGE_VAL, INT32_MAX},
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(ReadNumber(c.text), c.value) << c.text;
    EXPECT_EQ(ReadNumberAsInteger(c.text), c.truncated) << c.text;
  }
}

TEST(TextUtf8, ValidationAndRepair) {
  EXPECT_TRUE(IsValidUtf8("朋友圈 😀 abc"));
  EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));          // overlong
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));      // surrogate
  EXPECT_FALSE(IsValidUtf8("\xE6\x9C"));          // cut short
  EXPECT_EQ(SanitizeUtf8("a\xFF" "b"), "a\xEF\xBF\xBD" "b");
  EXPECT_EQ(SanitizeUtf8("朋\xE6\x9C"), "朋\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(Codepage, Gb18030RoundTripsEverythingIncludingEmoji) {
  const std::string text = "重复 朋友圈 abc 😀 €";
  const std::string gb = Utf8ToGb18030(text);
  EXPECT_NE(gb, text);
  EXPECT_EQ(Gb18030ToUtf8(gb), text);
  EXPECT_EQ(Utf8ToGb18030("重复"), "\xD6\xD8\xB8\xB4");
}

TEST(Codepage, InvalidBytesAreReplacedNotFatal) {
  EXPECT_EQ(Gb18030ToUtf8("a\xFF" "b"), "a\xEF\xBF\xBD" "b");
  EXPECT_EQ(Gb18030ToUtf8("\xD6"), "\xEF\xBF\xBD");  // lead byte at the very end
  EXPECT_EQ(Utf8ToGb18030("a\xFF" "b"), "a?b");
}

TEST(Codepage, ByteLengthAndTruncationAtWholeCharacters) {
  EXPECT_EQ(Gb18030Length("abc"), 3u);
  EXPECT_EQ(Gb18030Length("文章"), 4u);
  EXPECT_EQ(Gb18030Length("😀"), 4u);
  struct Case {
    std::string text;
    size_t limit;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"文章预览", 5, "文章"},  // a cut inside the third character falls before it
      {"文章预览", 6, "文章预"},
      {"ab😀c", 5, "ab"},
      {"ab😀c", 6, "ab😀"},
      {"abc", 0, ""},
      {"abc", 10, "abc"},
  };
  for (const auto& c : cases) EXPECT_EQ(TruncateToGb18030Bytes(c.text, c.limit), c.expected) << c.text;
}

TEST(Codepage, GbkFamilyNames) {
  for (const char* name : {"GBK", "gb2312", "GB18030", "cp936", "x-gbk"}) EXPECT_TRUE(IsGbkFamilyCharset(name)) << name;
  for (const char* name : {"utf-8", "", "big5", "iso-8859-1"}) EXPECT_FALSE(IsGbkFamilyCharset(name)) << name;
}

}  // namespace
}  // namespace orv
