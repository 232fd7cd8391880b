#include "feed/FeedResult.h"

#include <string_view>

namespace orv {

const char kFeedResultTable[] =
    "130|APIKEY被禁用\r\n"
    "140|该接口已关闭\r\n"
    "210|num参数不合法\r\n"
    "220|缺少num参数\r\n"
    "230|key错误或为空\r\n"
    "240|缺少key参数\r\n"
    "250|未检索到相关信息\r\n"
    "260|关键词不得为空\r\n"
    "270|剩余请求次数为零\r\n"
    "280|缺少有效数据\r\n"
    "290|返回的内容为空\r\n"
    "300|缺少必要的参数";

namespace {

constexpr char kUnknownError[] = "unknown error";
constexpr char kErrorTitle[] = "错误";

}  // namespace

std::string FeedResultMessage(int32_t code) {
  const std::string wanted = std::to_string(code);
  const std::string_view table = kFeedResultTable;
  std::size_t pos = 0;
  while (pos <= table.size()) {
    std::size_t eol = table.find("\r\n", pos);
    if (eol == std::string_view::npos) eol = table.size();
    const std::string_view line = table.substr(pos, eol - pos);
    const std::size_t bar = line.find('|');
    if (line.substr(0, bar) == wanted) {
      // The first line with the code decides, even when it lacks a message.
      if (bar == std::string_view::npos) return kUnknownError;
      const std::string_view rest = line.substr(bar + 1);
      return std::string(rest.substr(0, rest.find('|')));
    }
    pos = eol + 2;
  }
  return kUnknownError;
}

void ReportFeedResult(int32_t code,
                      const std::function<void(const std::string&, const std::string&)>& show) {
  if (code == 200) return;
  if (show) show(FeedResultMessage(code), kErrorTitle);
}

}  // namespace orv
