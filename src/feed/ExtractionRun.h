#pragma once
// One extraction: from the keyword to the filled main list. The run works on
// a thread of its own and drives the main window only through ExtractionView,
// which the window implements (and tests record).

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "feed/Article.h"
#include "feed/FeedClient.h"
#include "settings/FeedSettings.h"
#include "settings/KeywordList.h"

namespace orv {

// Identifies the run whose results may still be shown. Tokens count up from 1
// and are never reused; 0 means no run may publish.
class RunSlot {
 public:
  uint32_t NewToken() {
    uint32_t t = ++last_;
    return t == 0 ? ++last_ : t;
  }
  void SetCurrent(uint32_t token) { current_.store(token); }
  void Clear() { current_.store(0); }
  uint32_t Current() const { return current_.load(); }
  bool IsCurrent(uint32_t token) const { return token != 0 && current_.load() == token; }

 private:
  std::atomic<uint32_t> current_{0};
  std::atomic<uint32_t> last_{0};
};

// What a run does to the main window, each call made from the run's thread.
class ExtractionView {
 public:
  virtual ~ExtractionView() = default;
  // Read-list button disabled, list hidden, busy band shown, preview hidden,
  // no row previewed, preview caption and summary reset.
  virtual void EnterBusy() = 0;
  virtual void SetSummary(const std::string& text) = 0;
  virtual int ShowMessage(const std::string& text, const std::string& title, int flags) = 0;
  // In one step as far as the window is concerned, and only while
  // `stillCurrent()` holds: the articles become the published list and the
  // main list is refilled with their titles. Returns the row count, or −1
  // when nothing was published.
  virtual int PublishArticles(const std::function<bool()>& stillCurrent,
                              std::shared_ptr<const ArticleList> articles) = 0;
  // Makes `row` current and previews it.
  virtual void PreviewRow(int row) = 0;
  // Read-list button unchecked and enabled, list shown, busy band hidden,
  // preview shown.
  virtual void LeaveBusy() = 0;
};

struct ExtractionContext {
  std::shared_ptr<const FeedSettings> settings;
  std::shared_ptr<const KeywordList> keywords;
  std::shared_ptr<const FeedClient> client;
  std::shared_ptr<ExtractionView> view;
  std::shared_ptr<RunSlot> slot;
  // Seed of the run's random draws; the UTC millisecond clock when unset.
  std::function<uint32_t()> seed;
};

inline constexpr char kFallbackKeyword[] = "朋友圈";
inline constexpr int kDrawAttempts = 3;
inline constexpr char kFailureTitle[] = "提取";
inline constexpr char kFailureText[] = "提取失败\r\n1.关键词检索无效\r\n2.ApiKey失效或被拒绝";

// The body of a run's thread. A run that stops being current (the window is
// going away) leaves the window alone from then on.
void RunExtraction(const ExtractionContext& context, uint32_t token);

// Makes the run current and starts its thread; returns at once.
void StartExtractionThread(const ExtractionContext& context);

}  // namespace orv
