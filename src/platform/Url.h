#pragma once

#include <string>
#include <string_view>

namespace orv {

// Percent-encodes the bytes of UTF-8 text: ASCII letters and digits stay, every
// other byte becomes "%" and two uppercase hexadecimal digits.
std::string UrlEncode(std::string_view text);

// "%" and two hexadecimal digits become that byte. A "%" among the last two
// bytes ends the output; a "%" not followed by two hexadecimal digits stays.
// The result is the decoded bytes, not checked as UTF-8.
std::string UrlDecode(std::string_view text);

// The text between the first `start` and the first `end` after it, with ASCII
// case ignored in both searches and the result's case unchanged. Empty when
// text or start is empty or a marker is missing; an empty end gives all that
// follows start.
std::string TextBetween(std::string_view text, std::string_view start, std::string_view end);

// Position of the first `needle` in `haystack` at or after `from`, ASCII case
// ignored; npos when absent. An empty needle is found at `from`.
std::size_t FindIgnoringAsciiCase(std::string_view haystack, std::string_view needle,
                                  std::size_t from = 0);

}  // namespace orv
