#include "settings/KeywordList.h"

#include <utility>

#include "platform/Codepage.h"
#include "platform/Files.h"
#include "platform/Text.h"

namespace orv {

namespace {
constexpr char kLineBreak[] = "\r\n";

void EraseBlank(std::vector<std::string>& entries) {
  std::erase_if(entries, [](const std::string& entry) { return IsBlank(entry); });
}
}  // namespace

void KeywordList::SetFile(std::string file) {
  std::lock_guard lock(mutex_);
  file_ = std::move(file);
}

int KeywordList::LoadKeywordList() {
  std::string file;
  {
    std::lock_guard lock(mutex_);
    file = file_;
  }
  // Read and split outside the lock so that a draw by the extraction worker
  // never waits on the disk.
  std::vector<std::string> entries = SplitText(Gb18030ToUtf8(ReadFileBytes(file)), kLineBreak);
  EraseBlank(entries);
  if (entries.empty()) {
    entries = BuiltInKeywords();
    EraseBlank(entries);
  }
  std::lock_guard lock(mutex_);
  entries_ = std::move(entries);
  return static_cast<int>(entries_.size());
}

int KeywordList::LoadBuiltInKeywords() {
  std::vector<std::string> entries = BuiltInKeywords();
  EraseBlank(entries);
  std::lock_guard lock(mutex_);
  entries_ = std::move(entries);
  return static_cast<int>(entries_.size());
}

void KeywordList::RemoveBlankEntries() {
  std::lock_guard lock(mutex_);
  EraseBlank(entries_);
}

bool KeywordList::SaveKeywordList() const {
  std::string file;
  std::string text;
  {
    std::lock_guard lock(mutex_);
    file = file_;
    // A blank entry would only become a line the next load drops again, and a
    // list of nothing but blanks must not count as something to save.
    for (const std::string& entry : entries_) {
      std::string keyword = RemoveBlanks(entry);
      if (keyword.empty()) continue;
      if (!text.empty()) text += kLineBreak;
      text += keyword;
    }
  }
  // Keeps the keywords of the last good fetch when this one brought none.
  if (text.empty()) return false;
  return WriteFileBytes(file, Utf8ToGb18030(text));
}

std::optional<std::string> KeywordList::PickRandomKeyword(RandomGenerator& random) const {
  std::lock_guard lock(mutex_);
  if (entries_.empty()) return std::nullopt;
  const int32_t position = random.Between(1, static_cast<int32_t>(entries_.size()));
  return entries_[static_cast<size_t>(position - 1)];
}

void KeywordList::Replace(std::vector<std::string> entries) {
  std::lock_guard lock(mutex_);
  entries_ = std::move(entries);
}

std::vector<std::string> KeywordList::Entries() const {
  std::lock_guard lock(mutex_);
  return entries_;
}

int KeywordList::Count() const {
  std::lock_guard lock(mutex_);
  return static_cast<int>(entries_.size());
}

}  // namespace orv
