#include "feed/ExtractionRun.h"

#include <thread>

#include "feed/FeedParser.h"
#include "feed/FeedResult.h"
#include "platform/MessageBoxFlags.h"
#include "platform/Random.h"
#include "platform/Text.h"

namespace orv {
namespace {

// A number held as text counts as positive above this.
constexpr double kPositiveThreshold = 0.0000001;

class Run {
 public:
  Run(const ExtractionContext& c, uint32_t token) : c_(c), token_(token) {}

  void Execute() {
    Seed();
    if (!current()) return;
    c_.view->EnterBusy();

    const bool dedupe = ReadNumber(c_.settings->Get().dedupe) > kPositiveThreshold;
    std::string keyword = c_.settings->Word();
    int attempts = 0;
    if (!keyword.empty()) {
      if (!Attempt(keyword, dedupe)) return;
    } else {
      keyword = Draw();
      for (;;) {
        ++attempts;
        if (!Attempt(keyword, dedupe)) return;
        if (attempts >= kDrawAttempts || !articles_->empty()) break;
        // A keyword typed in the settings meanwhile is not replaced by a draw.
        if (c_.settings->Word().empty()) keyword = Draw();
      }
    }

    if (articles_->empty() && attempts >= kDrawAttempts) {
      if (!current()) return;
      c_.view->SetSummary("提取文章错误");
      if (!current()) return;
      c_.view->ShowMessage(kFailureText, kFailureTitle, kBoxOk);
    }

    if (!ShowResult(keyword)) return;
    if (!current()) return;
    c_.view->LeaveBusy();
  }

 private:
  bool current() const { return c_.slot->IsCurrent(token_); }

  void Seed() { random_.Seed(c_.seed ? c_.seed() : static_cast<uint32_t>(UtcMilliseconds())); }

  std::string Draw() {
    std::optional<std::string> drawn = c_.keywords->PickRandomKeyword(random_);
    return drawn ? *drawn : std::string(kFallbackKeyword);
  }

  // One fetch, parse and report. False when the run is no longer current.
  bool Attempt(const std::string& keyword, bool dedupe) {
    const FeedSettingsValues s = c_.settings->Get();
    const std::string answer = c_.client->FetchFeed(ReadNumberAsInteger(s.num), ReadNumberAsInteger(s.rand), keyword,
                                                    ReadNumberAsInteger(s.page), s.src);
    const int32_t code = ParseFeed(answer, dedupe, *articles_);
    if (!current()) return false;
    ReportFeedResult(code, [this](const std::string& text, const std::string& title) {
      if (current()) c_.view->ShowMessage(text, title, kBoxOk);
    });
    return current();
  }

  bool ShowResult(const std::string& keyword) {
    Seed();
    std::shared_ptr<const ArticleList> published = std::move(articles_);
    const int rows = c_.view->PublishArticles([this] { return current(); }, published);
    if (rows < 0) return false;
    if (rows > 0) {
      const int row = random_.Between(1, rows) - 1;
      if (!current()) return false;
      c_.view->PreviewRow(row);
    }
    if (!current()) return false;
    c_.view->SetSummary("关键词:" + keyword + " 文章:" + std::to_string(rows));
    return true;
  }

  const ExtractionContext& c_;
  const uint32_t token_;
  RandomGenerator random_;
  std::shared_ptr<ArticleList> articles_ = std::make_shared<ArticleList>();
};

}  // namespace

void RunExtraction(const ExtractionContext& context, uint32_t token) { Run(context, token).Execute(); }

void StartExtractionThread(const ExtractionContext& context) {
  const uint32_t token = context.slot->NewToken();
  context.slot->SetCurrent(token);
  // Never joined: the thread owns a copy of the context, so everything it
  // uses lives until it ends, even past the window.
  std::thread([context, token] { RunExtraction(context, token); }).detach();
}

}  // namespace orv
