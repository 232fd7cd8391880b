#include "settings/KeywordList.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "platform/Codepage.h"
#include "platform/Files.h"
#include "platform/Text.h"
#include "support/TempDir.h"

namespace orv {
namespace {

using test::TempDir;
using Entries = std::vector<std::string>;

class KeywordListFileTest : public ::testing::Test {
 protected:
  std::string Path() const { return dir_.file("WeChatWord.ini"); }
  // Writes the UTF-8 text to disk the way the program stores it.
  void WriteText(const std::string& text) const { ASSERT_TRUE(WriteFileBytes(Path(), Utf8ToGb18030(text))); }

  TempDir dir_;
  KeywordList list_{Path()};
};

struct LoadCase {
  const char* name;
  std::string fileText;
  Entries expected;
};

TEST_F(KeywordListFileTest, LoadsNonBlankLinesAsTheyStand) {
  const LoadCase cases[] = {
      {"blank lines dropped", "搞笑\r\n\r\n   \r\n美文", {"搞笑", "美文"}},
      {"trailing CRLF adds nothing", "搞笑\r\n美文\r\n", {"搞笑", "美文"}},
      {"spaces kept", " 搞笑 ", {" 搞笑 "}},
      {"ideographic space is blank", "\u3000\u3000\r\n美文", {"美文"}},
      {"a tab is not blank", "\t\r\n美文", {"\t", "美文"}},
      {"lone LF does not split", "搞笑\n美文", {"搞笑\n美文"}},
  };
  for (const LoadCase& c : cases) {
    SCOPED_TRACE(c.name);
    WriteText(c.fileText);
    EXPECT_EQ(list_.LoadKeywordList(), static_cast<int>(c.expected.size()));
    EXPECT_EQ(list_.Entries(), c.expected);
  }
}

TEST_F(KeywordListFileTest, FileWithoutKeywordsFallsBackToBuiltInsAndStaysUntouched) {
  const std::string files[] = {"", "\r\n\r\n", "  \r\n\u3000\r\n"};
  for (const std::string& text : files) {
    SCOPED_TRACE(testing::PrintToString(text));
    WriteText(text);
    const std::string before = ReadFileBytes(Path());
    EXPECT_EQ(list_.LoadKeywordList(), 252);
    EXPECT_EQ(list_.Entries(), BuiltInKeywords());
    EXPECT_EQ(ReadFileBytes(Path()), before);
    EXPECT_TRUE(FileExists(Path()));
  }
}

TEST_F(KeywordListFileTest, MissingFileFallsBackToBuiltInsWithoutCreatingIt) {
  EXPECT_EQ(list_.LoadKeywordList(), 252);
  EXPECT_EQ(list_.Entries().front(), "朋友圈");
  EXPECT_FALSE(FileExists(Path()));
}

TEST_F(KeywordListFileTest, SaveStripsSpacesAndPutsCrlfOnlyBetweenLines) {
  list_.Replace({" 搞笑 ", "美\u3000文", "gif"});
  ASSERT_TRUE(list_.SaveKeywordList());
  EXPECT_EQ(ReadFileBytes(Path()), Utf8ToGb18030("搞笑\r\n美文\r\ngif"));
  // The list itself keeps what it held.
  EXPECT_EQ(list_.Entries(), (Entries{" 搞笑 ", "美\u3000文", "gif"}));
}

TEST_F(KeywordListFileTest, SaveWithNothingToWriteLeavesTheFileAndFails) {
  WriteText("旧词");
  const std::string before = ReadFileBytes(Path());
  const Entries lists[] = {{}, {""}, {" ", "\u3000", ""}};
  for (const Entries& entries : lists) {
    SCOPED_TRACE(testing::PrintToString(entries));
    list_.Replace(entries);
    EXPECT_FALSE(list_.SaveKeywordList());
    EXPECT_EQ(ReadFileBytes(Path()), before);
  }
}

TEST_F(KeywordListFileTest, SaveToUnwritablePlaceFails) {
  list_.SetFile(dir_.file("no-such-folder/WeChatWord.ini"));
  list_.Replace({"搞笑"});
  EXPECT_FALSE(list_.SaveKeywordList());
}

TEST_F(KeywordListFileTest, RoundTripKeepsCharactersOutsideGbk) {
  const Entries entries{"搞笑😀", "美文", "Vexmoor"};
  list_.Replace(entries);
  ASSERT_TRUE(list_.SaveKeywordList());
  const std::string bytes = ReadFileBytes(Path());
  EXPECT_EQ(bytes.find('?'), std::string::npos);
  EXPECT_EQ(bytes.substr(0, 4), "\xB8\xE3\xD0\xA6");  // 搞笑 in GBK

  KeywordList reloaded(Path());
  EXPECT_EQ(reloaded.LoadKeywordList(), 3);
  EXPECT_EQ(reloaded.Entries(), entries);
}

TEST(BuiltInKeywordsTest, TableAsShipped) {
  const Entries& table = BuiltInKeywords();
  ASSERT_EQ(table.size(), 252u);
  EXPECT_EQ(table.front(), "朋友圈");
  EXPECT_EQ(table.back(), "新闻");
  const std::set<std::string> distinct(table.begin(), table.end());
  EXPECT_EQ(distinct.size(), table.size());
  EXPECT_TRUE(distinct.contains("Vexmoor"));
  EXPECT_TRUE(distinct.contains("GIF搞笑图"));
  for (const std::string& keyword : table) EXPECT_FALSE(IsBlank(keyword)) << keyword;

  KeywordList list;
  list.Replace({"旧词"});
  EXPECT_EQ(list.LoadBuiltInKeywords(), 252);
  EXPECT_EQ(list.Entries(), table);
}

TEST(PickRandomKeywordTest, EmptyListGivesNothing) {
  KeywordList list;
  RandomGenerator random;
  EXPECT_EQ(list.PickRandomKeyword(random), std::nullopt);
  list.Replace({});
  EXPECT_EQ(list.PickRandomKeyword(random), std::nullopt);
}

TEST(PickRandomKeywordTest, DrawsFromTheWholeList) {
  const Entries entries{"first", "second", "third", "fourth", "last"};
  KeywordList list;
  list.Replace(entries);
  RandomGenerator random;
  random.Seed(20240229);
  std::set<std::string> drawn;
  for (int i = 0; i < 500; ++i) {
    const std::optional<std::string> keyword = list.PickRandomKeyword(random);
    ASSERT_TRUE(keyword.has_value());
    drawn.insert(*keyword);
  }
  EXPECT_EQ(drawn, std::set<std::string>(entries.begin(), entries.end()));
}

TEST(PickRandomKeywordTest, SingleEntryIsAlwaysDrawn) {
  KeywordList list;
  list.Replace({"唯一"});
  RandomGenerator random;
  random.Seed(7);
  for (int i = 0; i < 20; ++i) EXPECT_EQ(list.PickRandomKeyword(random), "唯一");
}

}  // namespace
}  // namespace orv
