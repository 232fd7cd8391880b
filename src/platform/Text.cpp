#include "platform/Text.h"

#include <cmath>
#include <cstdlib>
#include <limits>

namespace orv {
namespace {

constexpr std::string_view kIdeographicSpace = "\xE3\x80\x80";  // U+3000

// Full-width forms U+FF01..U+FF5E are EF BC 81 .. EF BD 9E and map to 0x21..0x7E.
// Returns the half-width ASCII character for a full-width one at text[i], or 0.
char FullWidthToAscii(std::string_view text, size_t i) {
  if (i + 3 > text.size()) return 0;
  auto b0 = static_cast<unsigned char>(text[i]);
  auto b1 = static_cast<unsigned char>(text[i + 1]);
  auto b2 = static_cast<unsigned char>(text[i + 2]);
  if (b0 != 0xEF || (b2 & 0xC0) != 0x80) return 0;
  unsigned cp = 0xF000 | ((b1 & 0x3F) << 6) | (b2 & 0x3F);
  if (b1 != 0xBC && b1 != 0xBD) return 0;
  if (cp < 0xFF01 || cp > 0xFF5E) return 0;
  return static_cast<char>(cp - 0xFF01 + 0x21);
}

// Reads the character at text[i] as ASCII (full-width forms folded);
// sets `len` to its byte length. Returns 0 for anything else.
char AsciiAt(std::string_view text, size_t i, size_t& len) {
  auto c = static_cast<unsigned char>(text[i]);
  if (c < 0x80) {
    len = 1;
    return static_cast<char>(c);
  }
  if (char a = FullWidthToAscii(text, i)) {
    len = 3;
    return a;
  }
  len = static_cast<size_t>(Utf8SequenceLength(c));
  return 0;
}

size_t SkipLeadingBlanks(std::string_view text) {
  size_t i = 0;
  while (i < text.size()) {
    char c = text[i];
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f') {
      ++i;
    } else if (text.substr(i, 3) == kIdeographicSpace) {
      i += 3;
    } else {
      break;
    }
  }
  return i;
}

// The leading decimal number of `text` as ASCII ("-12.5e3"); with
// `allowFraction` false only sign and digits.
std::string NumberPrefix(std::string_view text, bool allowFraction) {
  std::string out;
  size_t i = SkipLeadingBlanks(text);
  size_t len = 0;
  auto peek = [&](size_t at, size_t& l) -> char { return at < text.size() ? AsciiAt(text, at, l) : 0; };
  char c = peek(i, len);
  if (c == '+' || c == '-') {
    out += c;
    i += len;
  }
  auto readDigits = [&] {
    bool any = false;
    for (char d = peek(i, len); d >= '0' && d <= '9'; d = peek(i, len)) {
      out += d;
      i += len;
      any = true;
    }
    return any;
  };
  bool digits = readDigits();
  if (!allowFraction) return digits ? out : std::string();
  if (peek(i, len) == '.') {
    out += '.';
    i += len;
    digits = readDigits() || digits;
  }
  if (!digits) return {};
  char e = peek(i, len);
  if (e == 'e' || e == 'E') {
    const std::string mantissa = out;
    out += 'e';
    i += len;
    char s = peek(i, len);
    if (s == '+' || s == '-') {
      out += s;
      i += len;
    }
    if (!readDigits()) out = mantissa;
  }
  return out;
}

int32_t Saturate(double v) {
  if (std::isnan(v)) return 0;
  if (v >= static_cast<double>(std::numeric_limits<int32_t>::max())) return std::numeric_limits<int32_t>::max();
  if (v <= static_cast<double>(std::numeric_limits<int32_t>::min())) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(v);  // truncates toward zero
}

}  // namespace

std::string RemoveBlanks(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    if (size_t blank = BlankLengthAt(text, i)) {
      i += blank;
    } else {
      out += text[i++];
    }
  }
  return out;
}

bool IsBlank(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    size_t blank = BlankLengthAt(text, i);
    if (blank == 0) return false;
    i += blank;
  }
  return true;
}

std::string RemoveAll(std::string_view text, std::string_view what) { return ReplaceAll(text, what, {}); }

std::string ReplaceAll(std::string_view text, std::string_view what, std::string_view with) {
  if (what.empty()) return std::string(text);
  std::string out;
  out.reserve(text.size());
  size_t pos = 0;
  for (size_t hit; (hit = text.find(what, pos)) != std::string_view::npos; pos = hit + what.size()) {
    out.append(text.substr(pos, hit - pos));
    out.append(with);
  }
  out.append(text.substr(pos));
  return out;
}

std::vector<std::string> SplitText(std::string_view text, std::string_view delimiter) {
  std::vector<std::string> pieces;
  if (delimiter.empty()) {
    if (!text.empty()) pieces.emplace_back(text);
    return pieces;
  }
  size_t pos = 0;
  for (size_t hit; (hit = text.find(delimiter, pos)) != std::string_view::npos; pos = hit + delimiter.size())
    pieces.emplace_back(text.substr(pos, hit - pos));
  if (pos < text.size()) pieces.emplace_back(text.substr(pos));
  return pieces;
}

int32_t ReadInteger(std::string_view text) {
  std::string n = NumberPrefix(text, false);
  if (n.empty() || n == "+" || n == "-") return 0;
  long long v = std::strtoll(n.c_str(), nullptr, 10);  // saturates at the long long range
  if (v > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (v < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(v);
}

double ReadNumber(std::string_view text) {
  std::string n = NumberPrefix(text, true);
  if (n.empty()) return 0.0;
  return std::strtod(n.c_str(), nullptr);
}

int32_t ReadNumberAsInteger(std::string_view text) { return Saturate(ReadNumber(text)); }

bool IsValidUtf8(std::string_view s) {
  size_t i = 0, n = s.size();
  while (i < n) {
    auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
      ++i;
      continue;
    }
    int len = Utf8SequenceLength(c);
    if (len == 1 || i + len > n) return false;
    auto b1 = static_cast<unsigned char>(s[i + 1]);
    // Reject overlong forms, surrogates and code points above U+10FFFF.
    if (c == 0xE0 && b1 < 0xA0) return false;
    if (c == 0xED && b1 > 0x9F) return false;
    if (c == 0xF0 && b1 < 0x90) return false;
    if (c == 0xF4 && b1 > 0x8F) return false;
    for (int k = 1; k < len; ++k)
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    i += len;
  }
  return true;
}

std::string SanitizeUtf8(std::string_view s) {
  if (IsValidUtf8(s)) return std::string(s);
  std::string out;
  out.reserve(s.size() + 16);
  size_t i = 0;
  while (i < s.size()) {
    auto c = static_cast<unsigned char>(s[i]);
    int len = Utf8SequenceLength(c);
    if (c < 0x80 || (len > 1 && i + len <= s.size() && IsValidUtf8(s.substr(i, len)))) {
      out.append(s.substr(i, len));
      i += len;
    } else {
      out.append("\xEF\xBF\xBD");
      ++i;
    }
  }
  return out;
}

}  // namespace orv
