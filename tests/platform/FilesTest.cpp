#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "platform/Files.h"
#include "support/TempDir.h"

namespace orv {
namespace {

namespace fs = std::filesystem;

TEST(Files, WriteReadRoundTripAndReplace) {
  test::TempDir dir;
  const std::string path = dir.file("MyLkie.ini");
  EXPECT_EQ(ReadFileBytes(path), "");
  const std::string binary("a\0b\r\n\xFF", 6);
  ASSERT_TRUE(WriteFileBytes(path, binary));
  EXPECT_EQ(ReadFileBytes(path), binary);
  ASSERT_TRUE(WriteFileBytes(path, "short"));
  EXPECT_EQ(ReadFileBytes(path), "short");
  ASSERT_TRUE(WriteFileBytes(path, ""));  // an empty file is a valid content
  EXPECT_TRUE(FileExists(path));
  EXPECT_EQ(ReadFileBytes(path), "");
  // Nothing but the file itself is left in the folder.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(Files, FailedWriteKeepsTheOldFile) {
  test::TempDir dir;
  EXPECT_FALSE(WriteFileBytes("", "x"));
  EXPECT_FALSE(WriteFileBytes(dir.file("missing/a.txt"), "x"));
  EXPECT_FALSE(WriteFileBytes(dir.path() + "/", "x"));
  // A directory where the file should be: the write fails and the directory stays.
  ASSERT_TRUE(CreateDirectory(dir.file("taken")));
  EXPECT_FALSE(WriteFileBytes(dir.file("taken"), "x"));
  EXPECT_TRUE(fs::is_directory(dir.file("taken")));
  if (::geteuid() != 0) {  // root writes anywhere
    const std::string path = dir.file("ro/a.txt");
    ASSERT_TRUE(CreateDirectory(dir.file("ro")));
    ASSERT_TRUE(WriteFileBytes(path, "old"));
    ::chmod(dir.file("ro").c_str(), 0555);
    EXPECT_FALSE(WriteFileBytes(path, "new"));
    EXPECT_EQ(ReadFileBytes(path), "old");
    ::chmod(dir.file("ro").c_str(), 0755);
  }
}

TEST(Files, ExistenceAndDirectories) {
  test::TempDir dir;
  EXPECT_TRUE(FileExists(dir.path()));
  EXPECT_FALSE(FileExists(dir.path() + "/"));  // a trailing separator never exists
  EXPECT_FALSE(FileExists(""));
  EXPECT_FALSE(FileExists(dir.file("none")));
  EXPECT_TRUE(CreateDirectory(dir.file("sub")));
  EXPECT_TRUE(CreateDirectory(dir.file("sub")));  // already there
  EXPECT_FALSE(CreateDirectory(dir.file("a/b")));  // one level only
  ASSERT_TRUE(WriteFileBytes(dir.file("f"), "x"));
  EXPECT_FALSE(CreateDirectory(dir.file("f")));
  EXPECT_EQ(ReadFileBytes(dir.path()), "");  // a directory reads as nothing
}

TEST(Files, KeepsPermissionsOfTheReplacedFile) {
  test::TempDir dir;
  const std::string path = dir.file("p");
  ASSERT_TRUE(WriteFileBytes(path, "1"));
  ::chmod(path.c_str(), 0600);
  ASSERT_TRUE(WriteFileBytes(path, "2"));
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
}

}  // namespace
}  // namespace orv
