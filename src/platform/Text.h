#pragma once
// Text helpers on UTF-8 text. They work on whole characters: a multi-byte
// character is never split or matched by halves.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

// Length of the blank starting at text[i]: 1 for U+0020, 3 for U+3000
// (ideographic space), 0 for anything else.
inline std::size_t BlankLengthAt(std::string_view text, std::size_t i) {
  if (text[i] == ' ') return 1;
  if (text[i] == '\xE3' && text.substr(i, 3) == "\xE3\x80\x80") return 3;
  return 0;
}

// Deletes every U+0020 and U+3000 (ideographic space); tabs and line breaks stay.
std::string RemoveBlanks(std::string_view text);

// True when nothing is left after RemoveBlanks.
bool IsBlank(std::string_view text);

// Deletes every occurrence of `what`, scanning left to right.
std::string RemoveAll(std::string_view text, std::string_view what);

// Replaces every occurrence of `what` by `with`, scanning left to right.
std::string ReplaceAll(std::string_view text, std::string_view what, std::string_view with);

// Splits at `delimiter`. Empty pieces between adjacent delimiters are kept; the
// piece after the last delimiter (or the whole text) only when it is not empty.
std::vector<std::string> SplitText(std::string_view text, std::string_view delimiter);

// Leading blanks skipped, optional sign, decimal digits up to the first other
// character; 0 without digits. Full-width digits and signs count as their
// half-width forms. Saturates at the 32-bit range.
int32_t ReadInteger(std::string_view text);

// As ReadInteger, with an optional fraction and exponent. Only decimal syntax
// is read ("inf", "nan" and hexadecimal forms are not numbers here).
double ReadNumber(std::string_view text);

// ReadNumber truncated toward zero, saturating at the 32-bit range; NaN gives 0.
int32_t ReadNumberAsInteger(std::string_view text);

// Replaces every invalid UTF-8 sequence by U+FFFD. Valid text comes back as is.
std::string SanitizeUtf8(std::string_view text);

// True when the whole text is valid UTF-8.
bool IsValidUtf8(std::string_view text);

// Length in bytes of the UTF-8 character starting with `lead` (1 for a stray byte).
inline int Utf8SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  if (lead >= 0xE0) return lead <= 0xEF ? 3 : 1;
  if (lead >= 0xC2) return 2;
  return 1;
}

}  // namespace orv
