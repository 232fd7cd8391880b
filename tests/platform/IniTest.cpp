#include "platform/Ini.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/Codepage.h"
#include "platform/Files.h"
#include "support/TempDir.h"

namespace orv {
namespace {

using test::TempDir;

const std::string kFallback = "<fallback>";

std::string ReplaceLineEnds(const std::string& text, const std::string& end) {
  std::string out;
  for (char c : text) {
    if (c == '\n') {
      out += end;
    } else {
      out += c;
    }
  }
  return out;
}

std::set<std::string> DirectoryEntries(const std::string& dir) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) names.insert(entry.path().filename().string());
  return names;
}

// A file as a Windows program leaves it: comments, quotes, odd spacing, mixed
// case, duplicates. Written with "\n" here and given each kind of line end.
const std::string kWindowsFile =
    "; written by hand\n"
    "[General]\n"
    "  Name = Alice  \n"
    "quoted=\"  padded  \"\n"
    "single='x'\n"
    "mixed=\"x'\n"
    "lonequote=\"\n"
    "emptyquotes=\"\"\n"
    "innerquotes=a\"b\"\n"
    "empty=\n"
    "blankvalue=   \n"
    "\ttabbed \t=\t tab value\t \n"
    ";hidden=yes\n"
    "  ; indented=yes\n"
    "novalueline\n"
    "dup=first\n"
    "DUP=second\n"
    "eq = a=b\n"
    "\n"
    "  [ Spaced Section ]  trailing text\n"
    "k = v\n"
    "[general]\n"
    "onlylater=1\n"
    "name=Later\n"
    "[Other]\n"
    "name=Bob";  // no line end after the last line

TEST(IniRead, WindowsWrittenFileWithEveryLineEnd) {
  struct Case {
    std::string section, key, expected;
  };
  const std::vector<Case> cases = {
      {"General", "Name", "Alice"},
      {"GENERAL", "name", "Alice"},
      {"gEnErAl", "NAME", "Alice"},
      {"  General\t", " Name ", "Alice"},
      {"General", "quoted", "  padded  "},
      {"General", "single", "x"},
      {"General", "mixed", "\"x'"},
      {"General", "lonequote", "\""},
      {"General", "emptyquotes", ""},
      {"General", "innerquotes", "a\"b\""},
      {"General", "empty", ""},
      {"General", "blankvalue", ""},
      {"General", "tabbed", "tab value"},
      {"General", "hidden", kFallback},
      {"General", ";hidden", kFallback},
      {"General", "; indented", kFallback},
      {"General", "indented", kFallback},
      {"General", "novalueline", kFallback},
      {"General", "dup", "first"},
      {"General", "eq", "a=b"},
      {"Spaced Section", "K", "v"},
      {"General", "onlylater", kFallback},  // only in the later duplicate section
      {"Other", "name", "Bob"},
      {"Other", "missing", kFallback},
      {"Missing", "name", kFallback},
      {"", "name", kFallback},
      {"General", "", kFallback},
      {"  ", "name", kFallback},
  };
  TempDir dir;
  for (const std::string end : {"\r\n", "\n", "\r"}) {
    std::string path = dir.file("windows.ini");
    std::string content = ReplaceLineEnds(kWindowsFile, end);
    ASSERT_TRUE(WriteFileBytes(path, content));
    for (const auto& c : cases) {
      EXPECT_EQ(ReadIniValue(path, c.section, c.key, kFallback), c.expected)
          << "[" << c.section << "] " << c.key << " with line end " << static_cast<int>(end.back());
    }
    EXPECT_EQ(ReadFileBytes(path), content) << "a read must never write";
  }
}

TEST(IniRead, MissingOrUnusableFileGivesFallback) {
  TempDir dir;
  std::filesystem::create_directory(dir.file("folder.ini"));
  ASSERT_TRUE(WriteFileBytes(dir.file("empty.ini"), ""));
  ASSERT_TRUE(WriteFileBytes(dir.file("noend.ini"), "[s]"));
  for (const std::string name : {"missing.ini", "folder.ini", "empty.ini", "noend.ini", "no/such/dir.ini"}) {
    EXPECT_EQ(ReadIniValue(dir.file(name), "s", "k", kFallback), kFallback) << name;
  }
  EXPECT_EQ(DirectoryEntries(dir.path()), (std::set<std::string>{"folder.ini", "empty.ini", "noend.ini"}));
}

TEST(IniRead, BadBytesNeitherCrashNorLeakIntoOtherLines) {
  std::string binary;
  unsigned state = 12345;
  for (int i = 0; i < 200000; ++i) {
    state = state * 1103515245u + 12345u;
    binary += static_cast<char>(state >> 24);
  }
  struct Case {
    std::string name, content, section, key, expected;
  };
  const std::vector<Case> cases = {
      {"nul inside a value", std::string("[s]\r\nk=a\0b\r\n", 12), "s", "k", std::string("a\0b", 3)},
      {"nul line before the key", std::string("[s]\r\n\0\0\0\r\nk=1\r\n", 15), "s", "k", "1"},
      // An invalid lead byte right before the line end must not swallow it.
      {"invalid bytes", "[s]\r\nbad=\x81\r\nk=1\r\n", "s", "k", "1"},
      {"invalid bytes in a name", "[s\xFF]\r\nk=1\r\n[s]\r\nk=2\r\n", "s", "k", "2"},
      {"binary then a section", binary + "\r\n[s]\r\nk=1\r\n", "s", "k", "1"},
      {"binary only", binary, "s", "k", kFallback},
      {"one huge line", std::string(3 << 20, 'x'), "s", "k", kFallback},
  };
  TempDir dir;
  std::string path = dir.file("bad.ini");
  for (const auto& c : cases) {
    ASSERT_TRUE(WriteFileBytes(path, c.content));
    EXPECT_EQ(ReadIniValue(path, c.section, c.key, kFallback), c.expected) << c.name;
    EXPECT_EQ(ReadFileBytes(path), c.content) << c.name;
  }
  EXPECT_EQ(DirectoryEntries(dir.path()), std::set<std::string>{"bad.ini"});
}

TEST(IniRead, ValueIsCutAtAWholeCharacterWithinTheByteLimit) {
  const std::string han = "中";                 // two bytes in GB18030
  const std::string emoji = "\xF0\x9F\x98\x80";  // four bytes in GB18030
  ASSERT_EQ(Utf8ToGb18030(han).size(), 2u);
  ASSERT_EQ(Utf8ToGb18030(emoji).size(), 4u);
  auto repeat = [](const std::string& s, size_t n) {
    std::string out;
    for (size_t i = 0; i < n; ++i) out += s;
    return out;
  };
  const size_t max = kIniMaxValueBytes;
  ASSERT_EQ(max, 10239u);
  struct Case {
    std::string name, stored, expected;
  };
  const std::vector<Case> cases = {
      {"exactly the limit", std::string(max, 'a'), std::string(max, 'a')},
      {"one byte over", std::string(max + 1, 'a'), std::string(max, 'a')},
      {"quotes do not count", "\"" + std::string(max, 'a') + "\"", std::string(max, 'a')},
      {"two-byte characters", repeat(han, 6000), repeat(han, max / 2)},
      {"four-byte character fits", std::string(max - 4, 'a') + emoji, std::string(max - 4, 'a') + emoji},
      {"four-byte character would straddle", std::string(max - 3, 'a') + emoji, std::string(max - 3, 'a')},
      {"huge value", std::string(5 << 20, 'z'), std::string(max, 'z')},
  };
  TempDir dir;
  std::string path = dir.file("long.ini");
  for (const auto& c : cases) {
    ASSERT_TRUE(WriteFileBytes(path, "[s]\r\nk=" + Utf8ToGb18030(c.stored) + "\r\nafter=1\r\n"));
    EXPECT_EQ(ReadIniValue(path, "s", "k"), c.expected) << c.name;
    EXPECT_EQ(ReadIniValue(path, "s", "after"), "1") << c.name;
  }
}

TEST(IniWrite, ChangesOrAddsOneLineAndKeepsEveryOtherByte) {
  // Mixed line ends, comments and spacing that a rewrite must leave alone.
  const std::string mixed =
      "; keep me \r\n"
      "[A]\r\n"
      "  NAME  =  old  \n"
      "other=1\r"
      ";comment=x\r\n"
      "\r\n"
      "  \t\r\n"
      "[B]\n"
      "k=v";
  struct Case {
    std::string name, before, section, key, value, after;
  };
  const std::vector<Case> cases = {
      {"update keeps the line's own LF and the stored key spelling", mixed, "a", "name", "new",
       "; keep me \r\n[A]\r\nNAME=new\n" + mixed.substr(mixed.find("other="))},
      {"update a line ending in CR alone", mixed, "A", "OTHER", "2",
       "; keep me \r\n[A]\r\n  NAME  =  old  \nother=2\r;comment=x\r\n\r\n  \t\r\n[B]\nk=v"},
      {"update the last line without a line end", mixed, "B", "k", "w",
       mixed.substr(0, mixed.size() - 3) + "k=w"},
      {"new key after the last non-blank line, before blanks and the next section", mixed, "A", "added", "3",
       "; keep me \r\n[A]\r\n  NAME  =  old  \nother=1\r;comment=x\r\nadded=3\r\n\r\n  \t\r\n[B]\nk=v"},
      {"new key in a last section without a final line end", mixed, "B", "z", "9", mixed + "\r\nz=9\r\n"},
      {"new section after a file without a final line end", mixed, "C", "c", "1", mixed + "\r\n[C]\r\nc=1\r\n"},
      {"new section after a final line end", "[A]\nx=1\n", "C", "c", "1", "[A]\nx=1\n[C]\r\nc=1\r\n"},
      {"new key straight after a header", "[A]\r\n\r\n[B]\r\n", "A", "x", "1", "[A]\r\nx=1\r\n\r\n[B]\r\n"},
      {"only the first of duplicate keys changes", "[A]\r\nk=1\r\nK=2\r\n", "A", "k", "3", "[A]\r\nk=3\r\nK=2\r\n"},
      {"a key only in a later duplicate section goes into the first", "[A]\r\nx=1\r\n[a]\r\ny=2\r\n", "A", "y",
       "3", "[A]\r\nx=1\r\ny=3\r\n[a]\r\ny=2\r\n"},
      {"commented key is not updated", "[A]\r\n;k=1\r\n", "A", "k", "2", "[A]\r\n;k=1\r\nk=2\r\n"},
      {"empty file, names trimmed", "", " S ", "\tk ", "v", "[S]\r\nk=v\r\n"},
      {"empty value", "[S]\r\nk=v\r\n", "S", "k", "", "[S]\r\nk=\r\n"},
  };
  TempDir dir;
  std::string path = dir.file("w.ini");
  for (const auto& c : cases) {
    ASSERT_TRUE(WriteFileBytes(path, c.before));
    EXPECT_TRUE(WriteIniValue(path, c.section, c.key, c.value)) << c.name;
    EXPECT_EQ(ReadFileBytes(path), c.after) << c.name;
    EXPECT_EQ(ReadIniValue(path, c.section, c.key, kFallback), c.value) << c.name;
  }
}

TEST(IniWrite, CreatesAMissingFile) {
  TempDir dir;
  std::string path = dir.file("new.ini");
  ASSERT_TRUE(WriteIniValue(path, "Main", "first", "1"));
  ASSERT_TRUE(WriteIniValue(path, "Main", "second", "2"));
  ASSERT_TRUE(WriteIniValue(path, "Next", "third", "3"));
  EXPECT_EQ(ReadFileBytes(path), "[Main]\r\nfirst=1\r\nsecond=2\r\n[Next]\r\nthird=3\r\n");
}

TEST(IniWrite, LineBreaksInAValueCannotAddLines) {
  TempDir dir;
  std::string path = dir.file("inject.ini");
  ASSERT_TRUE(WriteFileBytes(path, "[s]\r\nk=old\r\n[t]\r\nu=1\r\n"));
  for (const std::string value : {"x\r\n[evil]\r\nforged=1", "x\r[evil]\rforged=1", "x\n[evil]\nforged=1"}) {
    ASSERT_TRUE(WriteIniValue(path, "s", "k", value));
    EXPECT_EQ(ReadIniValue(path, "evil", "forged", kFallback), kFallback);
    EXPECT_EQ(ReadIniValue(path, "s", "k"), "x[evil]forged=1");
    EXPECT_EQ(ReadFileBytes(path), "[s]\r\nk=x[evil]forged=1\r\n[t]\r\nu=1\r\n");
  }
}

TEST(IniWrite, NamesThatCannotBeStoredAreRefused) {
  struct Case {
    std::string section, key;
  };
  const std::vector<Case> cases = {
      {"", "k"}, {"s", ""}, {" \t", "k"}, {"s", "  "}, {"s]", "k"}, {"s\r\n[t", "k"},
      {"s", "a=b"}, {"s", "k\nx"}, {"s", ";k"}, {"s", "[k]"},
  };
  TempDir dir;
  std::string missing = dir.file("missing.ini");
  std::string existing = dir.file("existing.ini");
  const std::string content = "[s]\r\nk=1\r\n";
  ASSERT_TRUE(WriteFileBytes(existing, content));
  for (const auto& c : cases) {
    EXPECT_FALSE(WriteIniValue(missing, c.section, c.key, "v")) << c.section << "/" << c.key;
    EXPECT_FALSE(WriteIniValue(existing, c.section, c.key, "v")) << c.section << "/" << c.key;
  }
  EXPECT_EQ(ReadFileBytes(existing), content);
  EXPECT_EQ(DirectoryEntries(dir.path()), std::set<std::string>{"existing.ini"});
}

TEST(IniWrite, UnwritablePathFailsAndCreatesNothing) {
  TempDir dir;
  std::string folder = dir.file("folder.ini");
  std::filesystem::create_directory(folder);
  EXPECT_FALSE(WriteIniValue(folder, "s", "k", "v"));
  EXPECT_TRUE(std::filesystem::is_directory(folder));
  EXPECT_TRUE(std::filesystem::is_empty(folder));

  EXPECT_FALSE(WriteIniValue(dir.file("nowhere/x.ini"), "s", "k", "v"));

  // Nobody writes to this pipe: opening it for reading would wait forever.
  std::string pipe = dir.file("pipe.ini");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  EXPECT_FALSE(WriteIniValue(pipe, "s", "k", "v"));
  EXPECT_EQ(ReadIniValue(pipe, "s", "k", kFallback), kFallback);
  EXPECT_EQ(DirectoryEntries(dir.path()), (std::set<std::string>{"folder.ini", "pipe.ini"}));
}

TEST(IniWrite, UnreadableFileIsNotReplaced) {
  if (::geteuid() == 0) GTEST_SKIP() << "root reads every file";
  TempDir dir;
  std::string path = dir.file("locked.ini");
  ASSERT_TRUE(WriteFileBytes(path, "[s]\r\nkeep=1\r\n"));
  ASSERT_EQ(::chmod(path.c_str(), 0200), 0);
  EXPECT_FALSE(WriteIniValue(path, "s", "k", "v"));
  ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
  EXPECT_EQ(ReadFileBytes(path), "[s]\r\nkeep=1\r\n");
}

TEST(IniCodepage, ChineseNamesAndValuesAreStoredAsGb18030) {
  TempDir dir;
  std::string path = dir.file("cn.ini");
  ASSERT_TRUE(WriteIniValue(path, "词库", "重复", "中文值"));
  const std::string expected = Utf8ToGb18030("[词库]\r\n重复=中文值\r\n");
  ASSERT_NE(expected, "[词库]\r\n重复=中文值\r\n");
  EXPECT_EQ(ReadFileBytes(path), expected);
  EXPECT_EQ(ReadIniValue(path, "词库", "重复"), "中文值");

  ASSERT_TRUE(WriteIniValue(path, "词库", "重复", "改了"));
  EXPECT_EQ(ReadFileBytes(path), Utf8ToGb18030("[词库]\r\n重复=改了\r\n"));
}

TEST(IniCodepage, ReadsAndUpdatesAGbkFileFromWindows) {
  TempDir dir;
  std::string path = dir.file("gbk.ini");
  const std::string gbk = Utf8ToGb18030("[WECHAT]\r\nword=搞笑\r\n[其他]\r\n名字=\"美文\"\r\n");
  ASSERT_EQ(gbk.substr(0, 15), "[WECHAT]\r\nword=");
  ASSERT_EQ(gbk.substr(15, 4), "\xB8\xE3\xD0\xA6");  // 搞笑 in GBK
  ASSERT_TRUE(WriteFileBytes(path, gbk));
  EXPECT_EQ(ReadIniValue(path, "wechat", "WORD"), "搞笑");
  EXPECT_EQ(ReadIniValue(path, "其他", "名字"), "美文");

  ASSERT_TRUE(WriteIniValue(path, "WECHAT", "word", "美文"));
  EXPECT_EQ(ReadFileBytes(path), Utf8ToGb18030("[WECHAT]\r\nword=美文\r\n[其他]\r\n名字=\"美文\"\r\n"));
}

TEST(IniCodepage, TrailBytesThatLookLikeAsciiDoNotConfuseTheParser) {
  // In GBK these characters end in the bytes of "]", "[", "A" and "a".
  const std::string closeBracket = "郵", openBracket = "乕", upperA = "丄", lowerA = "乤";
  ASSERT_EQ(Utf8ToGb18030(closeBracket), "\xE0\x5D");
  ASSERT_EQ(Utf8ToGb18030(openBracket), "\x81\x5B");
  ASSERT_EQ(Utf8ToGb18030(upperA), "\x81\x41");
  ASSERT_EQ(Utf8ToGb18030(lowerA), "\x81\x61");

  const std::string file = "[" + closeBracket + "]\r\n" + upperA + "=upper\r\n" + "[x" + openBracket + closeBracket +
                           "y]\r\n" + "k=2\r\n" + "[" + closeBracket + "x]\r\n" + lowerA + "=other\r\n";
  struct Case {
    std::string section, key, expected;
  };
  const std::vector<Case> cases = {
      {closeBracket, upperA, "upper"},
      // Folding the raw trail byte "A" would find this key under 丄.
      {closeBracket, lowerA, kFallback},
      {"x" + openBracket + closeBracket + "y", "K", "2"},
      {"X" + openBracket + closeBracket + "Y", "k", "2"},
      {closeBracket + "x", lowerA, "other"},
      {closeBracket + "X", upperA, kFallback},
  };
  TempDir dir;
  std::string path = dir.file("trail.ini");
  ASSERT_TRUE(WriteFileBytes(path, Utf8ToGb18030(file)));
  for (const auto& c : cases) EXPECT_EQ(ReadIniValue(path, c.section, c.key, kFallback), c.expected) << c.key;

  // The write must add a key of its own, not overwrite the look-alike.
  ASSERT_TRUE(WriteIniValue(path, closeBracket, lowerA, "lower"));
  EXPECT_EQ(ReadIniValue(path, closeBracket, upperA), "upper");
  EXPECT_EQ(ReadIniValue(path, closeBracket, lowerA), "lower");
  const std::string expected = "[" + closeBracket + "]\r\n" + upperA + "=upper\r\n" + lowerA + "=lower\r\n" +
                               file.substr(file.find("[x"));
  EXPECT_EQ(ReadFileBytes(path), Utf8ToGb18030(expected));
}

TEST(IniWrite, KilledWriterLeavesAWholeOldOrNewFile) {
  TempDir dir;
  const std::string path = dir.file("big.ini");
  auto contentWith = [](const std::string& value) { return "[big]\r\nv=" + value + "\r\n[tail]\r\nk=end\r\n"; };
  // Different lengths, so a file cut short can never pass for either.
  const std::string a(4 << 20, 'A');
  const std::string b((4 << 20) + 12345, 'B');
  const std::set<std::string> whole = {contentWith(a), contentWith(b)};
  ASSERT_TRUE(WriteFileBytes(path, contentWith(a)));

  // The child reports each finished write on a pipe; the parent lets a few
  // writes finish, then kills it at a different moment of the next one.
  struct Round {
    int finishedWrites, delayUs;
  };
  const std::vector<Round> rounds = {{0, 0}, {1, 0}, {1, 25000}, {2, 40000}, {2, 55000}, {3, 70000}, {3, 90000}};
  for (const auto& round : rounds) {
    int progress[2];
    ASSERT_EQ(::pipe(progress), 0);
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      ::close(progress[0]);
      for (unsigned i = 0;; ++i) {
        WriteIniValue(path, "big", "v", i % 2 ? a : b);
        if (::write(progress[1], "w", 1) != 1) ::_exit(1);
      }
    }
    ::close(progress[1]);
    char done;
    for (int i = 0; i < round.finishedWrites; ++i) ASSERT_EQ(::read(progress[0], &done, 1), 1);
    ::usleep(static_cast<useconds_t>(round.delayUs));
    ASSERT_EQ(::kill(child, SIGKILL), 0);
    ::close(progress[0]);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));

    std::string bytes = ReadFileBytes(path);
    EXPECT_TRUE(whole.count(bytes)) << "after " << round.finishedWrites << " writes: " << bytes.size() << " bytes";
    std::string value = ReadIniValue(path, "big", "v");
    EXPECT_TRUE(value == a.substr(0, kIniMaxValueBytes) || value == b.substr(0, kIniMaxValueBytes));
    EXPECT_EQ(ReadIniValue(path, "tail", "k"), "end");
    // A write killed midway may leave its temporary file; it has a name of its own.
    for (const auto& name : DirectoryEntries(dir.path())) {
      EXPECT_TRUE(name == "big.ini" || name.rfind("big.ini.tmp-", 0) == 0) << name;
    }
  }
}

TEST(IniWrite, ConcurrentWritersLoseNoUpdate) {
  TempDir dir;
  const std::string path = dir.file("shared.ini");
  constexpr int kKeys = 200;
  auto writer = [&](int thread) {
    for (int i = 0; i < kKeys; ++i) {
      std::string id = std::to_string(thread) + "_" + std::to_string(i);
      EXPECT_TRUE(WriteIniValue(path, "shared", "key" + id, "value" + id));
    }
  };
  std::thread first(writer, 0);
  std::thread second(writer, 1);
  first.join();
  second.join();
  for (int thread = 0; thread < 2; ++thread) {
    for (int i = 0; i < kKeys; ++i) {
      std::string id = std::to_string(thread) + "_" + std::to_string(i);
      EXPECT_EQ(ReadIniValue(path, "shared", "key" + id, kFallback), "value" + id);
    }
  }
}

}  // namespace
}  // namespace orv
