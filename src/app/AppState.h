#pragma once
// State that lives for the whole run of the program and is shared by its
// windows and workers.

#include <atomic>
#include <cstdint>
#include <string>

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
  // The token of the extraction whose results may still be shown; 0 for none.
  std::atomic<uint32_t> currentRun{0};
};

}  // namespace orv
