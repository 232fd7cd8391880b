#pragma once
// State that lives for the whole run of the program and is shared by its
// windows and workers. Workers hold it by shared ownership, so a worker that
// outlives the windows still finds everything it uses.

#include <memory>
#include <string>

#include "favourites/FavoritesStore.h"
#include "feed/Article.h"
#include "feed/ExtractionRun.h"
#include "settings/FeedSettings.h"
#include "settings/KeywordList.h"

namespace orv {

struct AppPaths {
  std::string runDirectory;   // no trailing separator
  std::string settingsFile;   // WeChat.ini
  std::string keywordFile;    // WeChatWord.ini
  std::string favoritesFile;  // MyLkie.ini

  static AppPaths InRunDirectory(const std::string& runDirectory);
};

struct AppState {
  AppPaths paths;
  std::shared_ptr<ArticleStore> articles = std::make_shared<ArticleStore>();
  std::shared_ptr<FavoritesStore> favorites = std::make_shared<FavoritesStore>();
  std::shared_ptr<FeedSettings> settings = std::make_shared<FeedSettings>();
  std::shared_ptr<KeywordList> keywords = std::make_shared<KeywordList>();
  // The extraction whose results may still be shown.
  std::shared_ptr<RunSlot> runs = std::make_shared<RunSlot>();
};

}  // namespace orv
