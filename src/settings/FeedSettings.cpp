#include "settings/FeedSettings.h"

#include <utility>

#include "platform/Ini.h"

namespace orv {

namespace {
constexpr char kKeyNum[] = "num";
constexpr char kKeyRand[] = "rand";
constexpr char kKeyWord[] = "word";
constexpr char kKeyPage[] = "page";
constexpr char kKeySrc[] = "src";
constexpr char kKeyDedupe[] = "重复";
constexpr char kKeyApiKey[] = "apikey";
}  // namespace

void LoadFeedSettings(const std::string& settingsFile, FeedSettings& settings) {
  FeedSettingsValues values;
  values.num = ReadIniValue(settingsFile, kFeedSection, kKeyNum, "50");
  values.rand = ReadIniValue(settingsFile, kFeedSection, kKeyRand, "1");
  values.word = ReadIniValue(settingsFile, kFeedSection, kKeyWord);
  values.page = ReadIniValue(settingsFile, kFeedSection, kKeyPage, "5");
  values.src = ReadIniValue(settingsFile, kFeedSection, kKeySrc);
  values.dedupe = ReadIniValue(settingsFile, kFeedSection, kKeyDedupe, "1");
  values.apiKey = ReadIniValue(settingsFile, kFeedSection, kKeyApiKey);
  // One swap, so the extraction worker never sees half old, half new values.
  settings.Set(std::move(values));
}

bool SaveFeedSettings(const std::string& settingsFile, const FeedSettings& settings) {
  // Write from one snapshot: a concurrent change must not mix into the file.
  const FeedSettingsValues values = settings.Get();
  const std::pair<const char*, const std::string*> keys[] = {
      {kKeyNum, &values.num},     {kKeyRand, &values.rand},     {kKeyWord, &values.word},
      {kKeyPage, &values.page},   {kKeySrc, &values.src},       {kKeyDedupe, &values.dedupe},
      {kKeyApiKey, &values.apiKey},
  };
  bool allWritten = true;
  // No early exit: keys that can be written should be, even after a failure.
  for (const auto& [key, value] : keys) {
    if (!WriteIniValue(settingsFile, kFeedSection, key, *value)) allWritten = false;
  }
  return allWritten;
}

bool SaveKeyword(const std::string& settingsFile, FeedSettings& settings, const std::string& word) {
  settings.SetWord(word);
  return WriteIniValue(settingsFile, kFeedSection, kKeyWord, word);
}

}  // namespace orv
