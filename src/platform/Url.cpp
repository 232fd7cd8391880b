#include "platform/Url.h"

namespace orv {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::string UrlEncode(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size() * 3);
  for (char ch : text) {
    auto c = static_cast<unsigned char>(ch);
    if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) {
      out += ch;
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 0x0F];
    }
  }
  return out;
}

std::string UrlDecode(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  const size_t n = text.size();
  size_t i = 0;
  while (i < n) {
    // Copy the run up to the next "%" in one piece: most of a feed answer has none.
    size_t pct = text.find('%', i);
    if (pct == std::string_view::npos) {
      out.append(text.substr(i));
      break;
    }
    out.append(text.substr(i, pct - i));
    if (pct + 2 >= n) break;  // a "%" among the last two bytes ends the output
    int hi = HexValue(text[pct + 1]);
    int lo = HexValue(text[pct + 2]);
    if (hi < 0 || lo < 0) {
      out += '%';
      i = pct + 1;
    } else {
      out += static_cast<char>((hi << 4) | lo);
      i = pct + 3;
    }
  }
  return out;
}

std::size_t FindIgnoringAsciiCase(std::string_view haystack, std::string_view needle, std::size_t from) {
  if (needle.empty()) return from <= haystack.size() ? from : std::string_view::npos;
  if (needle.size() > haystack.size()) return std::string_view::npos;
  const char first = LowerAscii(needle[0]);
  const char firstUpper = (first >= 'a' && first <= 'z') ? static_cast<char>(first - 'a' + 'A') : first;
  const size_t last = haystack.size() - needle.size();
  for (size_t i = from; i <= last; ++i) {
    char c = haystack[i];
    if (c != first && c != firstUpper) continue;
    size_t k = 1;
    while (k < needle.size() && LowerAscii(haystack[i + k]) == LowerAscii(needle[k])) ++k;
    if (k == needle.size()) return i;
  }
  return std::string_view::npos;
}

std::string TextBetween(std::string_view text, std::string_view start, std::string_view end) {
  if (text.empty() || start.empty()) return {};
  size_t s = FindIgnoringAsciiCase(text, start);
  if (s == std::string_view::npos) return {};
  s += start.size();
  if (end.empty()) return std::string(text.substr(s));
  size_t e = FindIgnoringAsciiCase(text, end, s);
  if (e == std::string_view::npos) return {};
  return std::string(text.substr(s, e - s));
}

}  // namespace orv
