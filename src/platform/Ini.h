#pragma once
// Windows-style profile (INI) files, stored in GB18030 on disk; names and
// values are UTF-8 in memory.
//
// Rules: section and key names are compared without ASCII case and with the
// blanks around them ignored; blanks around a value are ignored and a value in
// matching double or single quotes loses them on read; the first matching
// section and, inside it, the first matching key win; lines starting with ";"
// are comments. A write changes or adds exactly one line and keeps every other
// line byte for byte; a new key goes after the last non-blank line of its
// section, a new section at the end of the file. New lines end in CRLF.

#include <string>

namespace orv {

// Longest value a read returns, in bytes of the file's encoding.
inline constexpr std::size_t kIniMaxValueBytes = 10239;

// The stored value, or `fallback` when the file, section or key is missing.
// A key present with an empty value gives the empty text.
std::string ReadIniValue(const std::string& path, const std::string& section,
                         const std::string& key, const std::string& fallback = {});

// Sets the value, creating file, section or key when missing. CR and LF are
// dropped from the value so that it cannot add lines. The file is replaced
// atomically. False when a name is empty or the file cannot be written.
bool WriteIniValue(const std::string& path, const std::string& section,
                   const std::string& key, const std::string& value);

}  // namespace orv
