#pragma once
// MyLike: the user's favourite articles, kept in MyLkie.ini, one per line as
// title "<-><+><->" url (GB18030, CRLF between lines).

#include <string>
#include <vector>

namespace orv {

struct FavoriteEntry {
  std::string title;
  std::string url;
  friend bool operator==(const FavoriteEntry&, const FavoriteEntry&) = default;
};

inline constexpr char kFavoriteSeparator[] = "<-><+><->";

// Used on the window thread only.
class FavoritesStore {
 public:
  explicit FavoritesStore(std::string file = {}) : file_(std::move(file)) {}
  void SetFile(std::string file) { file_ = std::move(file); }

  // Replaces the list with the file's entries; returns the count. Lines that
  // are blank or do not split into exactly two pieces are skipped.
  int LoadFavorites();
  // Rewrites the whole file from the list (atomically); an empty list writes
  // an empty file. True when the file was written.
  bool SaveFavorites() const;

  // True when no entry has this url (spaces removed from the key), or, with an
  // empty url, this title. False when both are empty.
  bool IsNewFavorite(const std::string& url, const std::string& title) const;

  void Append(FavoriteEntry entry) { entries_.push_back(std::move(entry)); }
  // Position counted from 1; out-of-range positions are ignored.
  void RemoveAt(int position);
  int Count() const { return static_cast<int>(entries_.size()); }
  // Position counted from 1.
  const FavoriteEntry& At(int position) const { return entries_.at(static_cast<size_t>(position - 1)); }
  const std::vector<FavoriteEntry>& Entries() const { return entries_; }

 private:
  std::string file_;
  std::vector<FavoriteEntry> entries_;
};

}  // namespace orv
