#pragma once
// The feed settings of section WECHAT of the settings file, held as texts
// exactly as read or typed; consumers convert what they need when they use it.

#include <mutex>
#include <string>

namespace orv {

struct FeedSettingsValues {
  std::string num;
  std::string rand;
  std::string word;
  std::string page;
  std::string src;
  std::string dedupe;  // key 重复
  std::string apiKey;  // key apikey; stored and written back, used by nothing
  friend bool operator==(const FeedSettingsValues&, const FeedSettingsValues&) = default;
};

// The settings shared by the window and the extraction worker. Every read
// returns whole texts: a copy taken under the lock.
class FeedSettings {
 public:
  FeedSettingsValues Get() const {
    std::lock_guard lock(mutex_);
    return values_;
  }
  void Set(FeedSettingsValues values) {
    std::lock_guard lock(mutex_);
    values_ = std::move(values);
  }
  std::string Word() const {
    std::lock_guard lock(mutex_);
    return values_.word;
  }
  void SetWord(std::string word) {
    std::lock_guard lock(mutex_);
    values_.word = std::move(word);
  }

 private:
  mutable std::mutex mutex_;
  FeedSettingsValues values_;
};

inline constexpr char kFeedSection[] = "WECHAT";

// Reads the seven keys (defaults "50", "1", "", "5", "", "1", ""); a key that
// is present but empty stays empty.
void LoadFeedSettings(const std::string& settingsFile, FeedSettings& settings);

// Writes all seven keys, each as its current text. Every write is attempted;
// true only when all succeeded.
bool SaveFeedSettings(const std::string& settingsFile, const FeedSettings& settings);

// Stores a picked keyword in the settings and writes key word alone.
bool SaveKeyword(const std::string& settingsFile, FeedSettings& settings, const std::string& word);

}  // namespace orv
