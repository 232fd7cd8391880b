#pragma once
// One compiled pattern, run once over a text, then asked about its matches by
// 1-based index. PCRE2 in UTF mode with JIT where available. "." does not match
// a line feed. Copies share the engine and the matches.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace orv {

class RegexObject {
 public:
  RegexObject() = default;

  // Releases the engine and the matches; the object is then empty.
  void Destroy();

  // A new object sharing this one's engine, matches and count.
  RegexObject Copy() const { return *this; }

  // Compiles the pattern. A flag left out is on. False when the pattern does
  // not compile; the object is then empty.
  bool Create(std::string_view pattern, std::optional<bool> ignoreCase = std::nullopt,
              std::optional<bool> multiline = std::nullopt,
              std::optional<bool> global = std::nullopt);

  // The pattern text, empty without an engine.
  std::string GetPattern() const;

  // `text` with matches replaced. The replacement understands $1..$99, $&,
  // $`, $' and $$. Without an engine the text comes back unchanged.
  std::string Replace(std::string_view text, std::string_view replacement) const;

  // Runs the pattern over the text, replacing the previous matches; returns
  // the match count (0 without an engine). Invalid UTF-8 in the text is
  // matched as U+FFFD.
  int32_t Execute(std::string text);

  int32_t GetMatchCount() const { return count_; }

  // Whole text of match i; empty outside the matches.
  std::string GetMatchText(int32_t i) const;
  // Text captured by group j of match i; empty for a group that took no part
  // and outside the matches or groups.
  std::string GetSubmatchText(int32_t i, int32_t j) const;
  // Groups of the pattern when there is at least one match, else 0.
  int32_t GetSubmatchCount() const;

  // Borrowed view of a group's text, valid while this object (or a copy) holds
  // the matches. For hot loops that would otherwise copy every group.
  std::string_view SubmatchView(int32_t i, int32_t j) const;

  struct Engine;
  struct Matches;

 private:
  std::shared_ptr<const Engine> engine_;
  std::shared_ptr<const Matches> matches_;
  int32_t count_ = 0;
};

}  // namespace orv
