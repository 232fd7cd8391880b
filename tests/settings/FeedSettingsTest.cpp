#include "settings/FeedSettings.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "platform/Codepage.h"
#include "platform/Files.h"
#include "platform/Ini.h"
#include "support/TempDir.h"

namespace orv {
namespace {

using test::TempDir;

const FeedSettingsValues kDefaults{"50", "1", "", "5", "", "1", ""};

FeedSettingsValues Loaded(const std::string& file) {
  FeedSettings settings;
  LoadFeedSettings(file, settings);
  return settings.Get();
}

TEST(LoadFeedSettingsTest, MissingFileGivesDefaults) {
  TempDir dir;
  EXPECT_EQ(Loaded(dir.file("WeChat.ini")), kDefaults);
}

TEST(LoadFeedSettingsTest, KeyPresentButEmptyStaysEmpty) {
  TempDir dir;
  ASSERT_TRUE(WriteFileBytes(dir.file("WeChat.ini"), "[WECHAT]\r\nnum=\r\npage=\r\n"));
  FeedSettingsValues expected = kDefaults;
  expected.num = "";
  expected.page = "";
  EXPECT_EQ(Loaded(dir.file("WeChat.ini")), expected);
}

TEST(LoadFeedSettingsTest, ReadsFileWrittenInGbk) {
  TempDir dir;
  // As a Windows program leaves it: GBK bytes, the Chinese key included.
  const std::string gbk =
      "[WECHAT]\r\n"
      "num=20\r\n"
      "word=\xB8\xE3\xD0\xA6\r\n"            // 搞笑
      "src=\xB9\xAB\xD6\xDA\xBA\xC5\r\n"     // 公众号
      "\xD6\xD8\xB8\xB4=0\r\n"               // 重复=0
      "apikey=k1\r\n";
  ASSERT_TRUE(WriteFileBytes(dir.file("WeChat.ini"), gbk));
  EXPECT_EQ(Loaded(dir.file("WeChat.ini")), (FeedSettingsValues{"20", "1", "搞笑", "5", "公众号", "0", "k1"}));
}

TEST(SaveFeedSettingsTest, FreshFileHoldsAllSevenKeysInOrderInGb18030) {
  TempDir dir;
  const std::string file = dir.file("WeChat.ini");
  FeedSettings settings;
  settings.Set({"12.7", "0", "搞笑", "99", "", "1", ""});
  ASSERT_TRUE(SaveFeedSettings(file, settings));

  // The fraction is kept as typed, empty values still get their key, and
  // the Chinese key goes to disk in the file's code page.
  EXPECT_EQ(ReadFileBytes(file), Utf8ToGb18030("[WECHAT]\r\nnum=12.7\r\nrand=0\r\nword=搞笑\r\npage=99\r\n"
                                               "src=\r\n重复=1\r\napikey=\r\n"));
  EXPECT_NE(ReadFileBytes(file).find(Utf8ToGb18030("重复=")), std::string::npos);
  EXPECT_EQ(Loaded(file), settings.Get());
}

TEST(SaveFeedSettingsTest, LeavesOtherSectionsByteForByte) {
  TempDir dir;
  const std::string file = dir.file("WeChat.ini");
  const std::string win = "[WIN]\r\nwz=1\r\nkd=800\r\ngd=600\r\nzb=10\r\ndb=20\r\n\r\n";
  const std::string wechat = "[WECHAT]\r\nnum=30\r\nword=old\r\n\r\n";
  const std::string download = Utf8ToGb18030("[Kestrune]\r\nsaveini=1\r\nsaveURL=/home/用户/文章/\r\n");
  ASSERT_TRUE(WriteFileBytes(file, win + wechat + download));

  FeedSettings settings;
  settings.Set({"40", "0", "新", "3", "src1", "0", "key"});
  ASSERT_TRUE(SaveFeedSettings(file, settings));

  const std::string after = ReadFileBytes(file);
  EXPECT_TRUE(after.starts_with(win)) << after;
  EXPECT_TRUE(after.ends_with(download)) << after;
  EXPECT_EQ(Loaded(file), settings.Get());
  EXPECT_EQ(ReadIniValue(file, "Kestrune", "saveURL"), "/home/用户/文章/");
}

TEST(SaveFeedSettingsTest, UnwritablePlaceGivesFalse) {
  TempDir dir;
  FeedSettings settings;
  settings.Set(kDefaults);
  EXPECT_FALSE(SaveFeedSettings(dir.file("no-such-folder/WeChat.ini"), settings));
}

TEST(SaveKeywordTest, WritesWordAloneAndKeepsTheRest) {
  TempDir dir;
  const std::string file = dir.file("WeChat.ini");
  const std::string before = "[WECHAT]\r\nnum=30\r\nword=old\r\npage=2\r\n";
  ASSERT_TRUE(WriteFileBytes(file, before));
  FeedSettings settings;
  LoadFeedSettings(file, settings);

  ASSERT_TRUE(SaveKeyword(file, settings, "美文"));

  const FeedSettingsValues now = settings.Get();
  EXPECT_EQ(now.word, "美文");
  EXPECT_EQ(now.num, "30");
  EXPECT_EQ(ReadFileBytes(file), Utf8ToGb18030("[WECHAT]\r\nnum=30\r\nword=美文\r\npage=2\r\n"));
}

TEST(SaveKeywordTest, FailedWriteStillSetsTheWord) {
  TempDir dir;
  FeedSettings settings;
  EXPECT_FALSE(SaveKeyword(dir.file("no-such-folder/WeChat.ini"), settings, "美文"));
  EXPECT_EQ(settings.Word(), "美文");
}

TEST(FeedSettingsTest, ReaderNeverSeesHalfOfEachSet) {
  // Long texts, so that a torn copy could not pass for either set.
  const FeedSettingsValues a{"10", "0", std::string(200, 'a'), "1", std::string(200, 'A'), "0", "ka"};
  const FeedSettingsValues b{"50", "1", std::string(300, 'b'), "9", std::string(300, 'B'), "1", "kb"};
  FeedSettings settings;
  settings.Set(a);
  std::atomic<bool> done{false};
  std::thread writer([&] {
    for (int i = 0; i < 20000; ++i) settings.Set(i % 2 == 0 ? b : a);
    done = true;
  });
  int mixed = 0;
  while (!done) {
    const FeedSettingsValues seen = settings.Get();
    if (seen != a && seen != b) ++mixed;
  }
  writer.join();
  EXPECT_EQ(mixed, 0);
}

}  // namespace
}  // namespace orv
