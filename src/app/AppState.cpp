#include "app/AppState.h"

namespace orv {

AppPaths AppPaths::InRunDirectory(const std::string& runDirectory) {
  AppPaths p;
  p.runDirectory = runDirectory;
  while (p.runDirectory.size() > 1 && p.runDirectory.back() == '/') p.runDirectory.pop_back();
  p.settingsFile = p.runDirectory + "/WeChat.ini";
  p.keywordFile = p.runDirectory + "/WeChatWord.ini";
  p.favoritesFile = p.runDirectory + "/MyLkie.ini";
  return p;
}

}  // namespace orv
