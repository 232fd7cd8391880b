#pragma once
// Articles as the feed lists them, and the list the main window shows.

#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace orv {

struct ArticleRecord {
  std::string ctime;        // publication date, year-month-day
  std::string title;
  std::string description;
  std::string picUrl;
  std::string url;          // the article page
  std::string mid;          // the article's identifier, taken from url
  friend bool operator==(const ArticleRecord&, const ArticleRecord&) = default;
};

// Row r of the main list shows entry r (0-based) of the list.
using ArticleList = std::vector<ArticleRecord>;

// The published list: replaced in one step by the run that is current, read
// by the window. Readers get a snapshot that stays valid while they hold it.
class ArticleStore {
 public:
  std::shared_ptr<const ArticleList> Snapshot() const {
    std::lock_guard lock(mutex_);
    return list_;
  }
  void Publish(std::shared_ptr<const ArticleList> list) {
    std::lock_guard lock(mutex_);
    list_ = list ? std::move(list) : std::make_shared<const ArticleList>();
  }

 private:
  mutable std::mutex mutex_;
  std::shared_ptr<const ArticleList> list_ = std::make_shared<const ArticleList>();
};

}  // namespace orv
