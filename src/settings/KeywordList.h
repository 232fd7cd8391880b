#pragma once
// The candidate search keywords an extraction draws from when no keyword is
// set, kept one per line in WeChatWord.ini (GB18030, CRLF between lines).

#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/Random.h"

namespace orv {

// The keywords used when the file yields none, in order.
const std::vector<std::string>& BuiltInKeywords();

// Shared by the window and the extraction worker; every call is atomic.
class KeywordList {
 public:
  explicit KeywordList(std::string file = {}) : file_(std::move(file)) {}

  void SetFile(std::string file);

  // Fills the list from the file, or from the built-in table when the file
  // yields no entry that is not blank; returns the count. Never writes.
  int LoadKeywordList();
  // Replaces the list with the built-in table; returns the count.
  int LoadBuiltInKeywords();
  // Drops entries that are empty or only spaces (ASCII or ideographic).
  void RemoveBlankEntries();
  // Writes the entries, spaces removed, CRLF between. Nothing is written for
  // an empty result, which gives false.
  bool SaveKeywordList() const;

  // An entry drawn uniformly from 1..count; empty when the list is empty.
  std::optional<std::string> PickRandomKeyword(RandomGenerator& random) const;

  void Replace(std::vector<std::string> entries);
  std::vector<std::string> Entries() const;
  int Count() const;

 private:
  mutable std::mutex mutex_;
  std::string file_;
  std::vector<std::string> entries_;
};

}  // namespace orv
