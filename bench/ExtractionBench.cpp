// One whole extraction against a local feed server of five pages of fifty
// articles: from the start of the run to the filled list, and the share of
// that time that is not spent waiting on the network.

#include <benchmark/benchmark.h>
#include <httplib.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "feed/ExtractionRun.h"
#include "platform/Http.h"

namespace {

using Clock = std::chrono::steady_clock;

std::string Page(int page) {
  std::string body = R"({"code":200,"msg":"success","newslist":[)";
  for (int i = 0; i < 50; ++i) {
    const std::string n = std::to_string(page * 100 + i);
    body += R"({"ctime":"2016-03-31","title":"第)" + n + R"(篇 今日热门 Tech News )" + n +
            R"(","description":"一段摘要 a short summary of the article","picUrl":"http:\/\/img.example\/)" + n +
            R"(.jpg","url":"http:\/\/mp.example\/s?__biz=MzA3&mid=2650)" + n + R"(&idx=1&sn=abc"},)";
  }
  return body + "]}";
}

// A view that does what the window would with the list, minus the widgets.
class ListView : public orv::ExtractionView {
 public:
  std::shared_ptr<const orv::ArticleList> published;
  void EnterBusy() override {}
  void SetSummary(const std::string&) override {}
  int ShowMessage(const std::string&, const std::string&, int) override { return 0; }
  int PublishArticles(const std::function<bool()>& stillCurrent,
                      std::shared_ptr<const orv::ArticleList> articles) override {
    if (!stillCurrent()) return -1;
    published = std::move(articles);
    return static_cast<int>(published->size());
  }
  void PreviewRow(int) override {}
  void LeaveBusy() override {}
};

void BM_WholeExtraction(benchmark::State& state) {
  httplib::Server server;
  server.Get("/wxnew/", [](const httplib::Request& req, httplib::Response& res) {
    res.set_content(Page(std::stoi(req.get_param_value("page"))), "application/json");
  });
  const int port = server.bind_to_any_port("127.0.0.1");
  std::thread thread([&] { server.listen_after_bind(); });
  while (!server.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));

  std::atomic<int64_t> networkNs{0};
  auto settings = std::make_shared<orv::FeedSettings>();
  settings->Set({"50", "1", "keyword", "5", "", "1", ""});
  auto view = std::make_shared<ListView>();
  orv::ExtractionContext context;
  context.settings = settings;
  context.keywords = std::make_shared<orv::KeywordList>();
  context.view = view;
  context.slot = std::make_shared<orv::RunSlot>();
  context.client = std::make_shared<orv::FeedClient>(
      "http://127.0.0.1:" + std::to_string(port) + "/wxnew/",
      [&](const std::string& url, const std::string& headers) {
        const auto start = Clock::now();
        std::string body = orv::HttpRequest(url, "GET", headers);
        networkNs += std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now() - start).count();
        return body;
      });

  int64_t totalNs = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    const uint32_t token = context.slot->NewToken();
    context.slot->SetCurrent(token);
    orv::RunExtraction(context, token);
    totalNs += std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now() - start).count();
    if (!view->published || view->published->size() != 250) state.SkipWithError("the list was not filled");
  }
  const double runs = static_cast<double>(state.iterations());
  state.counters["total_ms"] = totalNs / runs / 1e6;
  state.counters["network_ms"] = networkNs.load() / runs / 1e6;
  state.counters["not_network_ms"] = (totalNs - networkNs.load()) / runs / 1e6;
  server.stop();
  thread.join();
}
BENCHMARK(BM_WholeExtraction)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
