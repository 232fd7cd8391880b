#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Url.h"

namespace orv {
namespace {

TEST(UrlEncode, OnlyAsciiLettersAndDigitsStay) {
  struct Case {
    std::string text, encoded;
  };
  const std::vector<Case> cases = {
      {"", ""},
      {"abcXYZ019", "abcXYZ019"},
      {"a b", "a%20b"},
      {"x-y", "x%2Dy"},
      {"朋友圈", "%E6%9C%8B%E5%8F%8B%E5%9C%88"},
      {"._~*", "%2E%5F%7E%2A"},
      {std::string("\0\xFF", 2), "%00%FF"},
  };
  for (const auto& c : cases) EXPECT_EQ(UrlEncode(c.text), c.encoded) << c.text;
}

TEST(UrlDecode, PercentRules) {
  struct Case {
    std::string text, decoded;
  };
  const std::vector<Case> cases = {
      {"", ""},
      {"plain", "plain"},
      {"a%2Fb", "a/b"},
      {"%e6%9c%8b", "朋"},
      {"abc%", "abc"},         // "%" as the last byte ends the output
      {"abc%4", "abc"},        // "%" as the second-to-last byte ends it too
      {"abc%41", "abcA"},
      {"100%zz!", "100%zz!"},  // not followed by two hex digits: kept
      {"%%41x", "%Ax"},
      {"%4g%41", "%4gA"},
      {"%00", std::string("\0", 1)},
      {"a+b", "a+b"},
  };
  for (const auto& c : cases) EXPECT_EQ(UrlDecode(c.text), c.decoded) << c.text;
}

TEST(UrlDecode, RoundTripsEncode) {
  std::string all;
  for (int i = 0; i < 256; ++i) all += static_cast<char>(i);
  EXPECT_EQ(UrlDecode(UrlEncode(all) + "xx"), all + "xx");
}

TEST(TextBetween, MarkersIgnoreAsciiCaseResultKeepsIt) {
  struct Case {
    std::string text, start, end, result;
  };
  const std::vector<Case> cases = {
      {"a?__biz=x&mid=2650&idx=1", "mid=", "&", "2650"},
      {"a?MID=77", "mid=", "&", ""},  // no end marker after the start
      {"xMid=AbC&", "mid=", "&", "AbC"},
      {"{\"code\":200,\"msg\"", "code\":", ",", "200"},
      {"{\"CODE\": 2 0 0 ,", "code\":", ",", " 2 0 0 "},
      {"abc", "", "c", ""},
      {"", "a", "c", ""},
      {"key=value", "key=", "", "value"},
      {"no marker", "mid=", "&", ""},
      {"&mid=1&mid=2&", "MID=", "&", "1"},
  };
  for (const auto& c : cases) EXPECT_EQ(TextBetween(c.text, c.start, c.end), c.result) << c.text;
}

TEST(TextBetween, NonAsciiBytesAreNotCaseFolded) {
  // 0xC3 0xA9 (é) must not match 0xC3 0x89 (É): only ASCII letters fold.
  EXPECT_EQ(TextBetween("xÉy", "é", "y"), "");
  EXPECT_EQ(FindIgnoringAsciiCase("aBc", "bC"), 1u);
  EXPECT_EQ(FindIgnoringAsciiCase("abc", "abcd"), std::string::npos);
}

}  // namespace
}  // namespace orv
