// ParseFeed against the bare pattern scan it is built on: the difference is
// the cost of building records, the title filter and the mid lookup. Equal
// MB/s across the sizes means the cost grows linearly with the answer.

#include <benchmark/benchmark.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include "feed/FeedParser.h"
#include "platform/RegexObject.h"

namespace {

struct FeedSample {
  std::string answer;
  int articles = 0;  // matches in the answer, duplicates included
  int distinct = 0;  // records expected with the title filter on
};

// Shaped like real answers: mixed Chinese and ASCII titles, summaries of a
// line or two, picture and article links with query strings; about one
// article in ten repeats an earlier title, some of those with extra blanks.
FeedSample MakeSample(int articles) {
  static const char* const kSubjects[] = {"春节回家", "科技公司", "朋友圈", "健康养生", "教育改革",
                                          "城市交通", "人工智能", "旅游攻略"};
  static const char* const kWords[] = {"Tech", "iPhone", "AI", "2016", "NBA", "WiFi", "App", "5G"};
  std::mt19937 random(20160331);
  FeedSample sample;
  std::vector<std::string> titles;
  std::string& out = sample.answer;
  out = R"({"code":200,"msg":"success","newslist":[)";
  for (int i = 0; i < articles; ++i) {
    std::string title;
    if (!titles.empty() && random() % 10 == 0) {
      title = titles[random() % titles.size()];
      if (random() % 2) title.insert(0, " ");
    } else {
      title = std::string(kSubjects[random() % 8]) + "：" + kWords[random() % 8] + " 新发布第" +
              std::to_string(titles.size()) + "期，" + kSubjects[random() % 8] + "的那些事";
      titles.push_back(title);
    }
    const std::string id = std::to_string(2650000000u + static_cast<unsigned>(i));
    if (i) out += ',';
    out += R"({"ctime":"2016-03-)" + std::to_string(10 + i % 20) + R"(","title":")" + title +
           R"(","description":")" + kSubjects[random() % 8] + "，" + kWords[random() % 8] +
           R"( 摘要：今天我们聊一聊这件大家都关心的事情, summary of story )" + std::to_string(i) +
           R"(","picUrl":"http://img.example.com/mmbiz/)" + std::to_string(random()) +
           R"(/0?wx_fmt=jpeg","url":"http://mp.example/s?__biz=MzA3NDM&mid=)" + id +
           "&idx=1&sn=" + std::to_string(random()) + R"(#rd"})";
  }
  out += "]}";
  sample.articles = articles;
  sample.distinct = static_cast<int>(titles.size());
  return sample;
}

const FeedSample& Sample(int articles) {
  static std::map<int, FeedSample> samples;
  auto it = samples.find(articles);
  if (it == samples.end()) it = samples.emplace(articles, MakeSample(articles)).first;
  return it->second;
}

void Report(benchmark::State& state, const FeedSample& sample) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(sample.answer.size()));
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * sample.articles);
}

void BM_ParseFeed(benchmark::State& state) {
  const FeedSample& sample = Sample(static_cast<int>(state.range(0)));
  orv::ArticleList list;
  for (auto _ : state) {
    const int32_t code = orv::ParseFeed(sample.answer, true, list);
    benchmark::DoNotOptimize(code);
    if (static_cast<int>(list.size()) != sample.distinct) state.SkipWithError("wrong record count");
  }
  Report(state, sample);
}
BENCHMARK(BM_ParseFeed)->Arg(250)->Arg(2500)->Arg(25000)->Unit(benchmark::kMillisecond);

// The floor ParseFeed cannot go below: one compile and one scan, no records.
void BM_RawScan(benchmark::State& state) {
  const FeedSample& sample = Sample(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    orv::RegexObject regex;
    regex.Create(orv::kArticlePattern);
    const int32_t count = regex.Execute(sample.answer);
    benchmark::DoNotOptimize(count);
    if (count != sample.articles) state.SkipWithError("wrong match count");
  }
  Report(state, sample);
}
BENCHMARK(BM_RawScan)->Arg(250)->Arg(2500)->Arg(25000)->Unit(benchmark::kMillisecond);

}  // namespace
