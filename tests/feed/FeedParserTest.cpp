#include "feed/FeedParser.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace orv {
namespace {

const std::string kUrl = "http://mp.example/s?__biz=MzA&mid=2650&idx=1&sn=ab";

std::string Article(const std::string& title, const std::string& url = kUrl,
                    const std::string& ctime = "2016-03-31") {
  return R"({"ctime":")" + ctime + R"(","title":")" + title + R"(","description":"summary","picUrl":"http://p.example/1.jpg","url":")" +
         url + R"("})";
}

std::string Answer(const std::vector<std::string>& articles, const std::string& code = "200") {
  std::string text = R"({"code":)" + code + R"(,"msg":"success","newslist":[)";
  for (std::size_t i = 0; i < articles.size(); ++i) text += (i ? "," : "") + articles[i];
  return text + "]}";
}

std::vector<std::string> Titles(const ArticleList& list) {
  std::vector<std::string> titles;
  for (const ArticleRecord& r : list) titles.push_back(r.title);
  return titles;
}

TEST(ParseFeed, RecordHoldsTheGroupsAsMatched) {
  const std::string answer =
      R"({"code":200,"newslist":[{"ctime":"2016-3-1","title":"say \"hi\" 春节","description":"a\u6625\nb",)"
      R"("picUrl":"http://p.example/a.jpg","url":"http://mp.example/s?__biz=MzA&mid=2650&idx=1"}]})";
  ArticleList list;
  EXPECT_EQ(ParseFeed(answer, true, list), 200);
  const ArticleRecord expected{"2016-3-1",           R"(say \"hi\" 春节)",
                               R"(a\u6625\nb)",      "http://p.example/a.jpg",
                               "http://mp.example/s?__biz=MzA&mid=2650&idx=1", "2650"};
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0], expected);
}

TEST(ParseFeed, WhichArticlesBecomeRecords) {
  struct Case {
    const char* name;
    std::string answer;
    bool dedupe;
    std::vector<std::string> titles;
  };
  const Case cases[] = {
      {"blank makes no difference", Answer({Article("春 节"), Article("春节")}), true, {"春 节"}},
      {"repeat kept without filter", Answer({Article("春 节"), Article("春节")}), false, {"春 节", "春节"}},
      {"full-width blank", Answer({Article("春节"), Article("　春　节　")}), true, {"春节"}},
      {"other characters of the U+3000 block are not blanks",
       Answer({Article("「春 节」"), Article("「春节」"), Article("春节")}), true, {"「春 节」", "春节"}},
      {"later repeats", Answer({Article("a"), Article("b"), Article("a"), Article("c"), Article("b")}), true,
       {"a", "b", "c"}},
      {"blank titles skipped", Answer({Article(""), Article("  "), Article("　"), Article("x")}), true, {"x"}},
      {"blank titles kept without filter", Answer({Article(""), Article("  "), Article("　")}), false,
       {"", "  ", "　"}},
      {"case counts", Answer({Article("Abc"), Article("abc")}), true, {"Abc", "abc"}},
      {"date not d-d-d", Answer({Article("slash", kUrl, "2016/03/31"), Article("two", kUrl, "2016-03"),
                                  Article("ok")}),
       true, {"ok"}},
      {"keys in any case", R"({"CTIME":"2016-03-31","Title":"t","DESCRIPTION":"d","picurl":"p","URL":"u"})", true,
       {"t"}},
      {"markup and control characters", Answer({Article("<b>x</b>&amp;\t\x01\r")}), true, {"<b>x</b>&amp;\t\x01\r"}},
      {"raw line feed ends the title", Answer({Article("a\nb"), Article("c")}), true, {"c"}},
      {"invalid UTF-8 repaired", Answer({Article("a\xFF" "b"), Article("c")}), true, {"a\xEF\xBF\xBD" "b", "c"}},
      {"pages back to back", Answer({Article("a"), Article("b")}, "250") + Answer({Article("b"), Article("c")}),
       true, {"a", "b", "c"}},
      {"empty answer", "", true, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ArticleList list;
    ParseFeed(c.answer, c.dedupe, list);
    EXPECT_EQ(Titles(list), c.titles);
  }
}

TEST(ParseFeed, MidIsTheUrlTextAfterMidUpToAmpersand) {
  struct Case {
    const char* url;
    const char* mid;
  };
  const Case cases[] = {
      {"a?__biz=x&mid=2650&idx=1", "2650"},
      {"a?__biz=x&mid=77", ""},
      {"a?__biz=x&idx=1", ""},
      {"a?MID=5&idx=1", "5"},
      {"a?srcmid=9&mid=3&idx=1", "9"},  // the first "mid=" may end a longer key
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.url);
    ArticleList list;
    ParseFeed(Answer({Article("t", c.url)}), false, list);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].mid, c.mid);
  }
}

TEST(ParseFeed, ResultCodeOfTheFirstMarker) {
  struct Case {
    const char* name;
    std::string answer;
    int32_t code;
  };
  const Case cases[] = {
      {"plain", R"({"code":200,"msg":"success"})", 200},
      {"blanks around and between digits", R"({"code": 2 0 0 ,"msg":"x"})", 200},
      {"full-width digits and blanks", "{\"code\":　２　０　０,\"msg\":\"x\"}", 200},
      {"negative", R"({"code":-1,"msg":"x"})", -1},
      {"marker case ignored", R"({"CODE":250,"msg":"x"})", 250},
      {"no marker", R"({"msg":"x"})", 0},
      {"not a number", R"({"code":abc,"msg":"x"})", 0},
      {"quoted code", R"({"code":"200","msg":"x"})", 0},
      {"no comma after", R"({"code":200})", 0},
      {"marker inside a longer key", R"({"errcode":5,"code":200,"msg":"x"})", 5},
      {"code without articles", Answer({}, "250"), 250},
      {"pages back to back", Answer({Article("a")}, "250") + Answer({Article("b")}), 250},
      {"empty answer", "", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ArticleList list;
    EXPECT_EQ(ParseFeed(c.answer, true, list), c.code);
  }
}

TEST(ParseFeed, TargetIsReplacedNotAppendedTo) {
  ArticleList list(2);
  list[0].title = "old";
  ParseFeed(Answer({Article("new")}), true, list);
  EXPECT_EQ(Titles(list), std::vector<std::string>{"new"});

  EXPECT_EQ(ParseFeed("", true, list), 0);
  EXPECT_TRUE(list.empty());
}

TEST(ParseFeed, AnswerCutAnywhereListsTheWholeArticlesBeforeTheCut) {
  const std::string first = Article("one"), second = Article("two");
  const std::string answer = Answer({first, second});
  // A record is complete once the closing quote of its url has arrived.
  const std::size_t firstEnd = answer.find(first) + first.size() - 1;
  const std::size_t secondEnd = answer.find(second) + second.size() - 1;
  for (std::size_t cut = 0; cut <= answer.size(); ++cut) {
    SCOPED_TRACE(cut);
    ArticleList list;
    ParseFeed(answer.substr(0, cut), true, list);
    const std::size_t expected = cut >= secondEnd ? 2 : cut >= firstEnd ? 1 : 0;
    ASSERT_EQ(list.size(), expected);
  }
}

TEST(ParseFeed, ArticlesAmidBinaryGarbageAreFound) {
  std::mt19937 random(7);
  std::string garbage(1 << 20, '\0');
  for (char& c : garbage) c = static_cast<char>(random());
  const std::string answer = garbage + Article("one") + garbage + Article("two") + garbage;
  ArticleList list;
  EXPECT_EQ(ParseFeed(answer, true, list), 0);
  EXPECT_EQ(Titles(list), (std::vector<std::string>{"one", "two"}));
}

TEST(ParseFeed, FewArticlesInFiftyMegabytesOfFiller) {
  // Near misses of the pattern, over and over: a key with no date after it.
  const std::string chunk = R"({"ctime":"n/a","title":"填充","url":"http://x.example/"},)";
  std::string filler;
  filler.reserve(25u << 20);
  while (filler.size() < (25u << 20)) filler += chunk;
  const std::string answer = Answer({Article("head"), filler + Article("middle"), filler + Article("tail")});
  ASSERT_GE(answer.size(), 50u << 20);
  ArticleList list;
  EXPECT_EQ(ParseFeed(answer, true, list), 200);
  EXPECT_EQ(Titles(list), (std::vector<std::string>{"head", "middle", "tail"}));
}

TEST(ParseFeed, TenMegabyteAnswerListsEveryArticle) {
  std::vector<std::string> articles;
  std::size_t size = 0;
  for (int i = 0; size < (10u << 20); ++i) {
    articles.push_back(Article("第" + std::to_string(i) + "篇 article", "http://mp.example/s?mid=" +
                                                                          std::to_string(i) + "&idx=1"));
    size += articles.back().size();
  }
  ArticleList list;
  EXPECT_EQ(ParseFeed(Answer(articles), true, list), 200);
  ASSERT_EQ(list.size(), articles.size());
  const std::size_t last = list.size() - 1;
  EXPECT_EQ(list[0].title, "第0篇 article");
  EXPECT_EQ(list[last].title, "第" + std::to_string(last) + "篇 article");
  EXPECT_EQ(list[last].mid, std::to_string(last));
}

}  // namespace
}  // namespace orv
