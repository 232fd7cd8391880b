#pragma once
// Conversion between in-memory UTF-8 and GB18030, the code page of the
// program's files. GB18030 reads every GBK file exactly as GBK does.

#include <cstddef>
#include <string>
#include <string_view>

namespace orv {

// GB18030 bytes to UTF-8. Invalid bytes become U+FFFD, one per bad byte.
std::string Gb18030ToUtf8(std::string_view bytes);

// UTF-8 to GB18030 bytes. Invalid UTF-8 bytes become '?'.
std::string Utf8ToGb18030(std::string_view text);

// Bytes the UTF-8 text takes in GB18030 (1, 2 or 4 per character).
std::size_t Gb18030Length(std::string_view text);

// The longest prefix of `text`, cut at a whole character, whose GB18030 form
// takes at most maxBytes bytes.
std::string TruncateToGb18030Bytes(std::string_view text, std::size_t maxBytes);

// True for charset names of the GBK family (gbk, gb2312, gb18030, cp936, ...).
bool IsGbkFamilyCharset(std::string_view charset);

}  // namespace orv
