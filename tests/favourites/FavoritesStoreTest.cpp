#include "favourites/FavoritesStore.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/Codepage.h"
#include "platform/Files.h"
#include "support/TempDir.h"

namespace orv {
namespace {

using test::TempDir;
using Entries = std::vector<FavoriteEntry>;

const std::string kSep = kFavoriteSeparator;

class FavoritesFileTest : public ::testing::Test {
 protected:
  std::string Path() const { return dir_.file("MyLkie.ini"); }
  void WriteText(const std::string& text) const { ASSERT_TRUE(WriteFileBytes(Path(), Utf8ToGb18030(text))); }

  TempDir dir_;
  FavoritesStore store_{Path()};
};

struct LoadCase {
  const char* name;
  std::string fileText;
  Entries expected;
};

TEST_F(FavoritesFileTest, LoadKeepsOnlyLinesOfExactlyTwoPieces) {
  const LoadCase cases[] = {
      {"two entries in order", "A" + kSep + "U1\r\nB" + kSep + "U2", {{"A", "U1"}, {"B", "U2"}}},
      {"final CRLF adds nothing", "A" + kSep + "U1\r\n", {{"A", "U1"}}},
      {"title without url skipped", "A" + kSep + "\r\nB" + kSep + "U2", {{"B", "U2"}}},
      {"url without title kept", kSep + "U1", {{"", "U1"}}},
      {"separator twice skipped", "A" + kSep + "U1" + kSep + "X\r\nB" + kSep + "U2", {{"B", "U2"}}},
      {"no separator skipped", "just text\r\nB" + kSep + "U2", {{"B", "U2"}}},
      {"blank lines skipped", "A" + kSep + "U1\r\n\r\n  \u3000\r\nB" + kSep + "U2", {{"A", "U1"}, {"B", "U2"}}},
      {"spaces kept in fields", " A " + kSep + "U 1", {{" A ", "U 1"}}},
  };
  for (const LoadCase& c : cases) {
    SCOPED_TRACE(c.name);
    WriteText(c.fileText);
    EXPECT_EQ(store_.LoadFavorites(), static_cast<int>(c.expected.size()));
    EXPECT_EQ(store_.Entries(), c.expected);
  }
}

TEST_F(FavoritesFileTest, LoadReplacesWhatTheListHeld) {
  store_.Append({"old", "http://old/"});
  EXPECT_EQ(store_.LoadFavorites(), 0);  // no file yet
  EXPECT_TRUE(store_.Entries().empty());
}

TEST_F(FavoritesFileTest, SaveWritesBackTheBytesItLoaded) {
  WriteText("A" + kSep + "U1\r\nB" + kSep + "U2");
  const std::string before = ReadFileBytes(Path());
  ASSERT_EQ(store_.LoadFavorites(), 2);
  ASSERT_TRUE(store_.SaveFavorites());
  EXPECT_EQ(ReadFileBytes(Path()), before);
}

TEST_F(FavoritesFileTest, DroppedLinesVanishOnSave) {
  WriteText("A" + kSep + "U1\r\n\r\nbroken" + kSep + "\r\nB" + kSep + "U2\r\n");
  ASSERT_EQ(store_.LoadFavorites(), 2);
  ASSERT_TRUE(store_.SaveFavorites());
  EXPECT_EQ(ReadFileBytes(Path()), "A" + kSep + "U1\r\nB" + kSep + "U2");
}

TEST_F(FavoritesFileTest, ChineseTitlesAreStoredInGb18030) {
  // Written by hand as the Windows program stores it: 收藏<-><+><->http://a/
  ASSERT_TRUE(WriteFileBytes(Path(), "\xCA\xD5\xB2\xD8" + kSep + "http://a/"));
  ASSERT_EQ(store_.LoadFavorites(), 1);
  EXPECT_EQ(store_.At(1), (FavoriteEntry{"收藏", "http://a/"}));

  store_.Append({"搞笑😀", "http://b/"});
  ASSERT_TRUE(store_.SaveFavorites());
  EXPECT_EQ(ReadFileBytes(Path()),
            "\xCA\xD5\xB2\xD8" + kSep + "http://a/\r\n" + Utf8ToGb18030("搞笑😀") + kSep + "http://b/");
  FavoritesStore reloaded(Path());
  ASSERT_EQ(reloaded.LoadFavorites(), 2);
  EXPECT_EQ(reloaded.At(2).title, "搞笑😀");
}

TEST_F(FavoritesFileTest, EmptyListWritesAnEmptyFile) {
  WriteText("A" + kSep + "U1");
  ASSERT_EQ(store_.LoadFavorites(), 1);
  store_.RemoveAt(1);
  ASSERT_TRUE(store_.SaveFavorites());
  EXPECT_TRUE(FileExists(Path()));
  EXPECT_EQ(ReadFileBytes(Path()), "");
  EXPECT_EQ(FavoritesStore(Path()).LoadFavorites(), 0);
}

TEST_F(FavoritesFileTest, SaveToUnwritablePlaceFails) {
  store_.SetFile(dir_.file("no-such-folder/MyLkie.ini"));
  store_.Append({"A", "U1"});
  EXPECT_FALSE(store_.SaveFavorites());
}

TEST_F(FavoritesFileTest, DamagedFileLoadsWithoutCrash) {
  // Bytes no code page reads, around one good line.
  const std::string damaged = std::string("\xFF\xFE\x00\x81\x30", 5) + "\r\nA" + kSep + "U1\r\n\x80\x81\xFE" + kSep;
  ASSERT_TRUE(WriteFileBytes(Path(), damaged));
  EXPECT_EQ(store_.LoadFavorites(), 1);
  EXPECT_EQ(store_.At(1), (FavoriteEntry{"A", "U1"}));

  std::mt19937 engine(99);
  std::string noise(8192, '\0');
  for (char& byte : noise) byte = static_cast<char>(engine() & 0xFF);
  ASSERT_TRUE(WriteFileBytes(Path(), noise));
  const int count = store_.LoadFavorites();
  EXPECT_EQ(count, store_.Count());
  EXPECT_TRUE(store_.SaveFavorites());
}

struct MatchCase {
  const char* name;
  std::string url;
  std::string title;
  bool isNew;
};

TEST(IsNewFavoriteTest, MatchesByUrlOrElseByTitle) {
  FavoritesStore store;
  store.Append({"标题一", "http://a/1"});
  store.Append({"B", "http://b/ 2"});
  const MatchCase cases[] = {
      {"same url", "http://a/1", "", false},
      {"url with spaces added", " http://a/ 1 ", "", false},
      {"url with ideographic space added", "http://a/\u30001", "", false},
      {"stored url with a space never matches", "http://b/ 2", "", true},
      {"url compared case-sensitively", "HTTP://A/1", "", true},
      {"unknown url", "http://c/3", "", true},
      {"url decides even when the title is known", "http://c/3", "标题一", true},
      {"both empty", "", "", false},
      {"same title without url", "", "标题一", false},
      {"title with spaces added", "", " 标题 一\u3000", false},
      {"unknown title", "", "别的", true},
  };
  for (const MatchCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(store.IsNewFavorite(c.url, c.title), c.isNew);
  }
  EXPECT_FALSE(FavoritesStore().IsNewFavorite("", ""));
  EXPECT_TRUE(FavoritesStore().IsNewFavorite("http://a/1", ""));
}

TEST(FavoritesStoreTest, RemoveAtCountsFromOneAndIgnoresOutOfRange) {
  FavoritesStore store;
  store.Append({"A", "U1"});
  store.Append({"B", "U2"});
  store.Append({"C", "U3"});
  for (int position : {0, -1, 4}) store.RemoveAt(position);
  ASSERT_EQ(store.Count(), 3);
  store.RemoveAt(2);
  EXPECT_EQ(store.Entries(), (Entries{{"A", "U1"}, {"C", "U3"}}));
  store.RemoveAt(2);
  EXPECT_EQ(store.Entries(), (Entries{{"A", "U1"}}));
}

}  // namespace
}  // namespace orv
