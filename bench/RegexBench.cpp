#include <benchmark/benchmark.h>

#include <string>

#include "platform/RegexObject.h"
#include "platform/Url.h"

namespace {

constexpr const char* kFeedPattern =
    R"re(ctime":"(\d+-\d+-\d+)","title":"(.*?)","description":"(.*?)","picUrl":"(.*?)","url":"(.*?)")re";

// A news-feed answer shaped like the ones the program downloads: mixed Chinese
// and ASCII text, image and article links with query strings.
std::string FeedAnswer(int articles) {
  std::string out = R"({"code":200,"msg":"success","newslist":[)";
  for (int i = 0; i < articles; ++i) {
    std::string id = std::to_string(i);
    if (i) out += ',';
    out += R"({"ctime":"2016-03-)" + std::to_string(10 + i % 20) +
           R"(","title":"今日头条：科技公司发布新产品 Tech launch )" + id +
           R"(","description":"新闻摘要 short summary of the story number )" + id +
           R"(","picUrl":"http://img.example.com/mmbiz/)" + id +
           R"(/0?wx_fmt=jpeg/x.jpg","url":"http://mp.example/s?__biz=MzA&mid=2650&idx=1&sn=abc)" +
           id + R"("})";
  }
  return out + "]}";
}

void BM_FeedParse(benchmark::State& state) {
  const int articles = static_cast<int>(state.range(0));
  const std::string answer = FeedAnswer(articles);
  size_t groupBytes = 0;
  for (auto _ : state) {
    orv::RegexObject re;
    re.Create(kFeedPattern);
    const int32_t count = re.Execute(answer);
    for (int32_t i = 1; i <= count; ++i)
      for (int32_t j = 1; j <= 5; ++j) groupBytes += re.SubmatchView(i, j).size();
    if (count != articles) state.SkipWithError("wrong article count");
  }
  benchmark::DoNotOptimize(groupBytes);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(answer.size()));
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * articles);
}
BENCHMARK(BM_FeedParse)->Arg(250)->Arg(2500)->Arg(25000)->Unit(benchmark::kMillisecond);

// A percent-encoded answer: roughly one escape in every eight bytes, with
// escaped multi-byte characters as in encoded Chinese titles.
std::string EncodedAnswer(size_t bytes) {
  const std::string chunk =
      "title=%E4%BB%8A%E6%97%A5%E5%A4%B4%E6%9D%A1&url=http%3A%2F%2Fmp.example%2Fs%3F__biz%3DMzA"
      "&desc=plain+ascii+text+that+needs+no+decoding+at+all+for+a+while&n=100%25&";
  std::string out;
  out.reserve(bytes + chunk.size());
  while (out.size() < bytes) out += chunk;
  return out;
}

void BM_UrlDecode(benchmark::State& state) {
  const std::string answer = EncodedAnswer(10 * 1024 * 1024);
  for (auto _ : state) {
    std::string decoded = orv::UrlDecode(answer);
    benchmark::DoNotOptimize(decoded.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(answer.size()));
}
BENCHMARK(BM_UrlDecode)->Unit(benchmark::kMillisecond);

}  // namespace
