#include "favourites/FavoritesStore.h"

#include "platform/Codepage.h"
#include "platform/Files.h"
#include "platform/Text.h"

namespace orv {

namespace {
constexpr char kLineBreak[] = "\r\n";
}  // namespace

int FavoritesStore::LoadFavorites() {
  const std::vector<std::string> lines = SplitText(Gb18030ToUtf8(ReadFileBytes(file_)), kLineBreak);
  entries_.clear();
  for (const std::string& line : lines) {
    if (IsBlank(line)) continue;
    std::vector<std::string> pieces = SplitText(line, kFavoriteSeparator);
    // A line without an address, or with the separator inside a field, cannot
    // be told apart reliably; it is dropped and vanishes on the next save.
    if (pieces.size() != 2) continue;
    entries_.push_back({std::move(pieces[0]), std::move(pieces[1])});
  }
  return Count();
}

bool FavoritesStore::SaveFavorites() const {
  std::string text;
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (i > 0) text += kLineBreak;
    text += entries_[i].title;
    text += kFavoriteSeparator;
    text += entries_[i].url;
  }
  // An empty list is written too: otherwise deleting the last favourite
  // would bring it back at the next start.
  return WriteFileBytes(file_, Utf8ToGb18030(text));
}

bool FavoritesStore::IsNewFavorite(const std::string& url, const std::string& title) const {
  if (url.empty() && title.empty()) return false;
  const bool byUrl = !url.empty();
  const std::string key = RemoveBlanks(byUrl ? url : title);
  // The stored fields keep their spaces, so a stored address with a space in
  // it never equals a key, which has none.
  for (const FavoriteEntry& entry : entries_) {
    if ((byUrl ? entry.url : entry.title) == key) return false;
  }
  return true;
}

void FavoritesStore::RemoveAt(int position) {
  if (position < 1 || position > Count()) return;
  entries_.erase(entries_.begin() + (position - 1));
}

}  // namespace orv
