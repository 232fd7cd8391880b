#include "feed/FeedParser.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/RegexObject.h"
#include "platform/Text.h"
#include "platform/Url.h"

namespace orv {
namespace {

// The title filter strips blanks exactly as RemoveBlanks does, but into a
// shared arena and only for titles that have any: a temporary string per
// title showed up as a large share of the parse.
std::size_t FirstBlank(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i)
    if (BlankLengthAt(text, i) != 0) return i;
  return text.size();
}

// Titles taken so far, with their blanks removed, in an open-addressing hash
// table: a repeat is found in one probe or a few rather than by comparing with
// every earlier title, and no title costs an allocation. Most titles have no
// blanks and their key is a view into the matched text, which lives as long
// as the regex object; the others are stripped into one arena, reserved up
// front for every title so that views into it stay valid.
class TakenTitles {
 public:
  TakenTitles(std::size_t titles, std::size_t titleBytes) {
    std::size_t capacity = 16;
    while (capacity < 2 * titles) capacity *= 2;
    slots_.resize(capacity);
    arena_.reserve(titleBytes);
  }

  // False for a blank title or one taken before.
  bool Take(std::string_view title) {
    std::size_t i = FirstBlank(title);
    if (i == title.size()) return !title.empty() && Insert(title);
    const std::size_t start = arena_.size();
    arena_.append(title.substr(0, i));
    while (i < title.size()) {
      const std::size_t blank = BlankLengthAt(title, i);
      if (blank != 0) {
        i += blank;
      } else {
        arena_ += title[i++];
      }
    }
    const std::string_view key(arena_.data() + start, arena_.size() - start);
    if (!key.empty() && Insert(key)) return true;
    arena_.resize(start);
    return false;
  }

 private:
  // Keys are never empty, so an empty slot marks the end of a probe run. The
  // table holds at most one key per article and is at least twice that size.
  bool Insert(std::string_view key) {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t s = std::hash<std::string_view>{}(key) & mask;; s = (s + 1) & mask) {
      if (slots_[s].empty()) {
        slots_[s] = key;
        return true;
      }
      if (slots_[s] == key) return false;
    }
  }

  std::vector<std::string_view> slots_;
  std::string arena_;
};

}  // namespace

int32_t ParseFeed(std::string_view answer, bool dedupe, ArticleList& target) {
  RegexObject regex;
  int32_t count = 0;
  if (regex.Create(kArticlePattern)) count = regex.Execute(std::string(answer));

  // Emptied only now: until the answer is matched the caller's list stands.
  target.clear();
  target.reserve(static_cast<std::size_t>(count));
  std::size_t titleBytes = 0;
  if (dedupe) {
    for (int32_t j = 1; j <= count; ++j) titleBytes += regex.SubmatchView(j, 2).size();
  }
  TakenTitles taken(dedupe ? static_cast<std::size_t>(count) : 0, titleBytes);

  for (int32_t j = 1; j <= count; ++j) {
    const std::string_view title = regex.SubmatchView(j, 2);
    if (dedupe && !taken.Take(title)) continue;
    ArticleRecord& record = target.emplace_back();
    record.ctime.assign(regex.SubmatchView(j, 1));
    record.title.assign(title);
    record.description.assign(regex.SubmatchView(j, 3));
    record.picUrl.assign(regex.SubmatchView(j, 4));
    record.url.assign(regex.SubmatchView(j, 5));
    record.mid = TextBetween(record.url, "mid=", "&");
  }

  // Several pages may be joined; the first code marker belongs to page one.
  return ReadInteger(RemoveBlanks(TextBetween(answer, "code\":", ",")));
}

}  // namespace orv
