#include "feed/FeedResult.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orv {
namespace {

struct Shown {
  std::string text;
  std::string title;
};

std::vector<Shown> Report(int32_t code) {
  std::vector<Shown> shown;
  ReportFeedResult(code, [&](const std::string& text, const std::string& title) {
    shown.push_back({text, title});
  });
  return shown;
}

TEST(ReportFeedResult, SuccessShowsNothing) { EXPECT_TRUE(Report(200).empty()); }

TEST(ReportFeedResult, EveryOtherCodeShowsOneErrorBox) {
  struct Case {
    int32_t code;
    const char* message;
  };
  const Case cases[] = {
      {130, "APIKEY被禁用"},     {140, "该接口已关闭"},     {210, "num参数不合法"},
      {220, "缺少num参数"},      {230, "key错误或为空"},    {240, "缺少key参数"},
      {250, "未检索到相关信息"}, {260, "关键词不得为空"},   {270, "剩余请求次数为零"},
      {280, "缺少有效数据"},     {290, "返回的内容为空"},   {300, "缺少必要的参数"},
      // A code must equal a whole code field, not a prefix or part of one.
      {30, "unknown error"},     {0, "unknown error"},      {2500, "unknown error"},
      {13, "unknown error"},     {-250, "unknown error"},   {201, "unknown error"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    const auto shown = Report(c.code);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, c.message);
    EXPECT_EQ(shown[0].title, "错误");
  }
}

// Other code reads the table line by line at CRLF; a trailing break would add
// an empty thirteenth line.
TEST(FeedResultTable, TwelveLinesJoinedByCrlf) {
  const std::string table = kFeedResultTable;
  std::size_t breaks = 0;
  for (std::size_t p = 0; (p = table.find("\r\n", p)) != std::string::npos; p += 2) ++breaks;
  EXPECT_EQ(breaks, 11u);
  EXPECT_EQ(table.find('\n'), table.find("\r\n") + 1);
  EXPECT_EQ(table.back(), std::string("缺少必要的参数").back());
}

}  // namespace
}  // namespace orv
