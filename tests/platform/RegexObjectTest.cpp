#include "platform/RegexObject.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace orv {
namespace {

constexpr const char* kFeedPattern =
    R"re(ctime":"(\d+-\d+-\d+)","title":"(.*?)","description":"(.*?)","picUrl":"(.*?)","url":"(.*?)")re";

struct Article {
  std::string date, title, description, picUrl, url;
};

Article MakeArticle(size_t n) {
  std::string id = std::to_string(n);
  return {"2016-03-" + std::to_string(10 + n % 20), "新闻标题 Title " + id,
          "摘要 summary, with: punctuation " + id, "http://img.example/pic/" + id + ".jpg",
          "http://mp.example/s?__biz=MzA&mid=2650&idx=1&sn=abc" + id};
}

std::string ArticleJson(const Article& a) {
  return R"({"ctime":")" + a.date + R"(","title":")" + a.title + R"(","description":")" +
         a.description + R"(","picUrl":")" + a.picUrl + R"(","url":")" + a.url + R"("})";
}

std::string FeedAnswer(const std::vector<Article>& articles) {
  std::string out = R"({"code":200,"msg":"success","newslist":[)";
  for (size_t i = 0; i < articles.size(); ++i) {
    if (i) out += ',';
    out += ArticleJson(articles[i]);
  }
  return out + "]}";
}

std::vector<Article> Articles(size_t count) {
  std::vector<Article> out;
  for (size_t i = 0; i < count; ++i) out.push_back(MakeArticle(i));
  return out;
}

void ExpectArticle(const RegexObject& re, int32_t i, const Article& a) {
  SCOPED_TRACE("match " + std::to_string(i));
  EXPECT_EQ(re.GetSubmatchText(i, 1), a.date);
  EXPECT_EQ(re.GetSubmatchText(i, 2), a.title);
  EXPECT_EQ(re.GetSubmatchText(i, 3), a.description);
  EXPECT_EQ(re.GetSubmatchText(i, 4), a.picUrl);
  EXPECT_EQ(re.GetSubmatchText(i, 5), a.url);
}

// Each expected match: the whole match first, then its groups in order.
using MatchList = std::vector<std::vector<std::string>>;

struct MatchCase {
  const char* name;
  std::string pattern;
  std::optional<bool> ignoreCase, multiline, global;
  std::string subject;
  MatchList expected;
};

class RegexMatchTest : public testing::TestWithParam<MatchCase> {};

TEST_P(RegexMatchTest, FindsExpectedMatchesAndGroups) {
  const MatchCase& c = GetParam();
  RegexObject re;
  ASSERT_TRUE(re.Create(c.pattern, c.ignoreCase, c.multiline, c.global));
  EXPECT_EQ(re.Execute(c.subject), static_cast<int32_t>(c.expected.size()));
  ASSERT_EQ(re.GetMatchCount(), static_cast<int32_t>(c.expected.size()));
  for (size_t i = 0; i < c.expected.size(); ++i) {
    const auto& want = c.expected[i];
    const auto n = static_cast<int32_t>(i + 1);
    SCOPED_TRACE("match " + std::to_string(n));
    EXPECT_EQ(re.GetSubmatchCount(), static_cast<int32_t>(want.size() - 1));
    EXPECT_EQ(re.GetMatchText(n), want[0]);
    for (size_t j = 1; j < want.size(); ++j) {
      EXPECT_EQ(re.GetSubmatchText(n, static_cast<int32_t>(j)), want[j]);
      EXPECT_EQ(re.SubmatchView(n, static_cast<int32_t>(j)), want[j]);
    }
  }
}

const std::string kFffd = "\xEF\xBF\xBD";

INSTANTIATE_TEST_SUITE_P(
    Cases, RegexMatchTest,
    testing::Values(
        MatchCase{"IdleGroupIsEmpty", "a(b)?c", {}, {}, {}, "ac", {{"ac", ""}}},
        MatchCase{"DefaultsIgnoreCaseAndGlobal", "x(\\d+)", {}, {}, {}, "X12 x3",
                  {{"X12", "12"}, {"x3", "3"}}},
        MatchCase{"CaseKeptWhenAsked", "x(\\d+)", false, {}, {}, "X12 x3", {{"x3", "3"}}},
        MatchCase{"NotGlobalStopsAtFirst", "(\\d)", {}, {}, false, "1 2 3", {{"1", "1"}}},
        MatchCase{"LazyGroupStopsEarly", "<(.*?)>", {}, {}, {}, "<a><b>", {{"<a>", "a"}, {"<b>", "b"}}},
        MatchCase{"DotSkipsLineFeedButNotReturn", "a.b", {}, {}, {}, "a\nb a\rb", {{"a\rb"}}},
        MatchCase{"MultilineAnchorsPerLine", "^(\\w+)$", {}, {}, {}, "one\ntwo\nthree",
                  {{"one", "one"}, {"two", "two"}, {"three", "three"}}},
        MatchCase{"ReturnIsNotALineEnd", "^(\\w+)$", {}, {}, {}, "one\r\ntwo", {{"two", "two"}}},
        MatchCase{"SingleLineAnchorsWholeText", "^(\\w+)$", {}, false, {}, "one\ntwo", {}},
        MatchCase{"ChineseGroupsWhole", "新闻(.)(\\d)", {}, {}, {}, "新闻网1 新闻台2",
                  {{"新闻网1", "网", "1"}, {"新闻台2", "台", "2"}}},
        MatchCase{"DotTakesWholeCharacter", ".", {}, {}, {}, "中é", {{"中"}, {"é"}}},
        MatchCase{"EmptyPatternBetweenCharacters", "", {}, {}, {}, "ab", {{""}, {""}, {""}}},
        MatchCase{"EmptyMatchesAdvance", "x*", {}, {}, {}, "abc", {{""}, {""}, {""}, {""}}},
        MatchCase{"EmptyMatchAfterLongOne", "x*", {}, {}, {}, "xxa", {{"xx"}, {""}, {""}}},
        MatchCase{"EmptyMatchesStepWholeCharacters", "x*", {}, {}, {}, "中文", {{""}, {""}, {""}}},
        MatchCase{"EmptySubjectEmptyMatch", "x*", {}, {}, {}, "", {{""}}},
        MatchCase{"EmptySubjectNoMatch", "x", {}, {}, {}, "", {}},
        MatchCase{"InvalidByteBecomesReplacement", "b(.)c", {}, {}, {}, "a\xff" "b\xfe" "c",
                  {{"b" + kFffd + "c", kFffd}}},
        MatchCase{"MatchesAroundInvalidByte", "([a-z]+)", {}, {}, {}, "ab\xff" "cd\xc3",
                  {{"ab", "ab"}, {"cd", "cd"}}}),
    [](const testing::TestParamInfo<MatchCase>& info) { return std::string(info.param.name); });

TEST(RegexObjectTest, NoMatchReportsNothing) {
  RegexObject re;
  ASSERT_TRUE(re.Create("(z)(y)"));
  EXPECT_EQ(re.Execute("abc"), 0);
  EXPECT_EQ(re.GetMatchCount(), 0);
  EXPECT_EQ(re.GetSubmatchCount(), 0);
  EXPECT_EQ(re.GetMatchText(1), "");
}

TEST(RegexObjectTest, InvalidPatternLeavesObjectEmpty) {
  RegexObject re;
  ASSERT_TRUE(re.Create("(\\d)"));
  ASSERT_EQ(re.Execute("1"), 1);
  for (const char* bad : {"(", "a)", "[a", "x{2,1}", "\xff"}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(re.Create(bad));
    EXPECT_EQ(re.GetMatchCount(), 0);
    EXPECT_EQ(re.GetPattern(), "");
    EXPECT_EQ(re.Execute("1 ( a) [a"), 0);
    EXPECT_EQ(re.GetMatchText(1), "");
    EXPECT_EQ(re.GetSubmatchText(1, 1), "");
    EXPECT_EQ(re.GetSubmatchCount(), 0);
    EXPECT_EQ(re.Replace("1 (", "x"), "1 (");
  }
}

TEST(RegexObjectTest, LifecycleReleasesMatchesAndEngine) {
  RegexObject re;
  EXPECT_EQ(re.Execute("abc"), 0);
  EXPECT_EQ(re.GetPattern(), "");

  ASSERT_TRUE(re.Create("(b)"));
  EXPECT_EQ(re.GetPattern(), "(b)");
  ASSERT_EQ(re.Execute("abc"), 1);

  // A new pattern forgets the matches of the old one.
  ASSERT_TRUE(re.Create("(c)(d)?"));
  EXPECT_EQ(re.GetMatchCount(), 0);
  EXPECT_EQ(re.GetMatchText(1), "");
  EXPECT_EQ(re.GetSubmatchCount(), 0);
  ASSERT_EQ(re.Execute("abc"), 1);
  EXPECT_EQ(re.GetSubmatchCount(), 2);

  re.Destroy();
  EXPECT_EQ(re.GetMatchCount(), 0);
  EXPECT_EQ(re.GetPattern(), "");
  EXPECT_EQ(re.GetMatchText(1), "");
  EXPECT_EQ(re.Execute("abc"), 0);
}

TEST(RegexObjectTest, OutOfRangeIndicesGiveEmptyText) {
  RegexObject re;
  ASSERT_TRUE(re.Create("(a)(b)"));
  ASSERT_EQ(re.Execute("ab ab"), 2);
  for (auto [i, j] : std::vector<std::pair<int32_t, int32_t>>{
           {0, 1}, {-1, 1}, {3, 1}, {1, 0}, {1, -1}, {1, 3}, {2, 3}}) {
    SCOPED_TRACE(std::to_string(i) + "," + std::to_string(j));
    EXPECT_EQ(re.GetSubmatchText(i, j), "");
    EXPECT_EQ(re.SubmatchView(i, j), "");
  }
  EXPECT_EQ(re.GetMatchText(0), "");
  EXPECT_EQ(re.GetMatchText(3), "");
  EXPECT_EQ(re.GetMatchText(2), "ab");
  EXPECT_EQ(re.GetSubmatchText(2, 2), "b");
}

TEST(RegexObjectTest, SecondExecuteReplacesMatches) {
  RegexObject re;
  ASSERT_TRUE(re.Create("x(\\d)"));
  ASSERT_EQ(re.Execute("x1"), 1);
  ASSERT_EQ(re.Execute("x2 x3 x4"), 3);
  EXPECT_EQ(re.GetMatchCount(), 3);
  EXPECT_EQ(re.GetSubmatchText(1, 1), "2");
  EXPECT_EQ(re.GetSubmatchText(3, 1), "4");
  EXPECT_EQ(re.Execute("none"), 0);
  EXPECT_EQ(re.GetMatchText(1), "");
}

TEST(RegexObjectTest, CopiesShareEngineAndKeepTheirMatches) {
  RegexObject original;
  ASSERT_TRUE(original.Create("x(\\d)"));
  ASSERT_EQ(original.Execute("x1 x2"), 2);

  RegexObject copy = original.Copy();
  EXPECT_EQ(copy.GetPattern(), "x(\\d)");
  ASSERT_EQ(original.Execute("x9"), 1);
  EXPECT_EQ(original.GetSubmatchText(1, 1), "9");
  ASSERT_EQ(copy.GetMatchCount(), 2);
  EXPECT_EQ(copy.GetSubmatchText(1, 1), "1");
  EXPECT_EQ(copy.GetSubmatchText(2, 1), "2");

  RegexObject copyOfCopy = copy.Copy();
  std::string_view view = copyOfCopy.SubmatchView(2, 1);
  copy.Destroy();
  original.Destroy();
  EXPECT_EQ(copy.GetMatchCount(), 0);
  ASSERT_EQ(copyOfCopy.GetMatchCount(), 2);
  EXPECT_EQ(view, "2");  // the held subject outlives the objects that made it
  EXPECT_EQ(copyOfCopy.GetMatchText(1), "x1");

  // The shared engine still works for the copy after the original let go.
  EXPECT_EQ(copyOfCopy.Execute("x5 x6 x7"), 3);
  EXPECT_EQ(copyOfCopy.GetSubmatchText(3, 1), "7");
}

struct ReplaceCase {
  const char* name;
  std::string pattern;
  std::optional<bool> global;
  std::string text, replacement, expected;
};

class RegexReplaceTest : public testing::TestWithParam<ReplaceCase> {};

TEST_P(RegexReplaceTest, ExpandsReplacement) {
  const ReplaceCase& c = GetParam();
  RegexObject re;
  ASSERT_TRUE(re.Create(c.pattern, {}, {}, c.global));
  EXPECT_EQ(re.Replace(c.text, c.replacement), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RegexReplaceTest,
    testing::Values(
        ReplaceCase{"Group", "(\\d+)", {}, "a1b22", "<$1>", "a<1>b<22>"},
        ReplaceCase{"WholeMatch", "\\d+", {}, "a1b22", "[$&]", "a[1]b[22]"},
        ReplaceCase{"Dollar", "b", {}, "abc", "$$", "a$c"},
        ReplaceCase{"Before", "b", {}, "abc", "[$`]", "a[a]c"},
        ReplaceCase{"After", "b", {}, "abc", "[$']", "a[c]c"},
        ReplaceCase{"TwoDigitGroup", "(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)", {}, "abcdefghij", "$10|$1",
                    "j|a"},
        ReplaceCase{"OneDigitThenLiteralDigit", "(a)", {}, "a", "$10", "a0"},
        ReplaceCase{"LeadingZeroGroup", "(a)", {}, "a", "$01", "a"},
        ReplaceCase{"MissingGroupLiteral", "(a)", {}, "a", "$2$0", "$2$0"},
        ReplaceCase{"OtherDollarsLiteral", "a", {}, "a", "$x$", "$x$"},
        ReplaceCase{"IdleGroupEmpty", "a(b)?c", {}, "ac", "[$1]", "[]"},
        ReplaceCase{"NotGlobalFirstOnly", "\\d", false, "1 2 3", "#", "# 2 3"},
        ReplaceCase{"EmptyMatches", "x*", {}, "abc", "-", "-a-b-c-"},
        ReplaceCase{"NoMatchUnchanged", "q", {}, "abc", "-", "abc"},
        ReplaceCase{"Chinese", "(新)(闻)", {}, "看新闻", "$2$1", "看闻新"},
        ReplaceCase{"InvalidBytesMended", "b", {}, "a\xff" "b", "B", "a\xEF\xBF\xBD" "B"}),
    [](const testing::TestParamInfo<ReplaceCase>& info) { return std::string(info.param.name); });

TEST(RegexObjectTest, ReplaceLeavesMatchesAlone) {
  RegexObject re;
  ASSERT_TRUE(re.Create("(\\d)"));
  ASSERT_EQ(re.Execute("1 2"), 2);
  EXPECT_EQ(re.Replace("7", "x"), "x");
  EXPECT_EQ(re.GetMatchCount(), 2);
  EXPECT_EQ(re.GetSubmatchText(2, 1), "2");
}

TEST(RegexFeedTest, ReadsArticles) {
  auto articles = Articles(3);
  RegexObject re;
  ASSERT_TRUE(re.Create(kFeedPattern));
  ASSERT_EQ(re.Execute(FeedAnswer(articles)), 3);
  EXPECT_EQ(re.GetSubmatchCount(), 5);
  for (int32_t i = 0; i < 3; ++i) ExpectArticle(re, i + 1, articles[static_cast<size_t>(i)]);
}

TEST(RegexFeedTest, SkipsArticleWithMalformedDate) {
  auto articles = Articles(4);
  articles[1].date = "2016-03";
  articles[2].date = "March 31";
  RegexObject re;
  ASSERT_TRUE(re.Create(kFeedPattern));
  ASSERT_EQ(re.Execute(FeedAnswer(articles)), 2);
  ExpectArticle(re, 1, articles[0]);
  ExpectArticle(re, 2, articles[3]);
}

constexpr size_t kTenMegabytes = 10 * 1024 * 1024;

TEST(RegexLargeTest, FindsEveryArticleInTenMegabytes) {
  std::vector<Article> articles;
  std::string answer = R"({"code":200,"msg":"success","newslist":[)";
  while (answer.size() < kTenMegabytes) {
    articles.push_back(MakeArticle(articles.size()));
    if (articles.size() > 1) answer += ',';
    answer += ArticleJson(articles.back());
  }
  answer += "]}";
  RegexObject re;
  ASSERT_TRUE(re.Create(kFeedPattern));
  ASSERT_EQ(re.Execute(std::move(answer)), static_cast<int32_t>(articles.size()));
  ExpectArticle(re, 1, articles.front());
  ExpectArticle(re, static_cast<int32_t>(articles.size() / 2), articles[articles.size() / 2 - 1]);
  ExpectArticle(re, static_cast<int32_t>(articles.size()), articles.back());
}

TEST(RegexLargeTest, LongLazyGroupSpansTenMegabytes) {
  struct Case {
    const char* pattern;
    const char* filler;
  };
  for (const Case& c : {Case{"a(.*?)b", "x"}, Case{"a(.*?)b", "xy"},
                        Case{"a((?:x|y)*?)b", "x"}, Case{"a((?:x|y)*?)b", "xy"}}) {
    SCOPED_TRACE(std::string(c.pattern) + " over " + c.filler);
    std::string filler;
    filler.reserve(kTenMegabytes);
    while (filler.size() < kTenMegabytes) filler += c.filler;
    RegexObject re;
    ASSERT_TRUE(re.Create(c.pattern));
    ASSERT_EQ(re.Execute("a" + filler + "b"), 1);
    EXPECT_EQ(re.SubmatchView(1, 1).size(), filler.size());
    EXPECT_TRUE(re.SubmatchView(1, 1) == filler);
  }
}

TEST(RegexLargeTest, TenMegabytesWithoutMatch) {
  std::string text;
  text.reserve(kTenMegabytes);
  while (text.size() < kTenMegabytes) text += "lorem ipsum 新闻 dolor\n";
  RegexObject re;
  ASSERT_TRUE(re.Create(kFeedPattern));
  EXPECT_EQ(re.Execute(text), 0);
  ASSERT_TRUE(re.Create("a(.*?)q"));
  EXPECT_EQ(re.Execute(std::move(text)), 0);
}

TEST(RegexLargeTest, SeparateInstancesOnTwoThreads) {
  const std::string answerA = FeedAnswer(Articles(20000));
  const std::string answerB = FeedAnswer(Articles(15000));
  int32_t countA = -1, countB = -1;
  std::string lastA, lastB;
  auto run = [](const std::string& answer, int32_t& count, std::string& last) {
    RegexObject re;
    if (!re.Create(kFeedPattern)) return;
    for (int round = 0; round < 3; ++round) count = re.Execute(answer);
    last = re.GetSubmatchText(count, 5);
  };
  std::thread a(run, std::cref(answerA), std::ref(countA), std::ref(lastA));
  std::thread b(run, std::cref(answerB), std::ref(countB), std::ref(lastB));
  a.join();
  b.join();
  EXPECT_EQ(countA, 20000);
  EXPECT_EQ(countB, 15000);
  EXPECT_EQ(lastA, MakeArticle(19999).url);
  EXPECT_EQ(lastB, MakeArticle(14999).url);
}

}  // namespace
}  // namespace orv
