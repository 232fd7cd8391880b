#include "platform/Codepage.h"

#include <iconv.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <string>

#include "platform/Text.h"

namespace orv {
namespace {

// One iconv descriptor per call keeps the functions safe on any thread.
class Iconv {
 public:
  Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Iconv() {
    if (ok()) iconv_close(cd_);
  }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts `in`; at a byte the source encoding rejects, writes `substitute`,
  // skips `skip(bytes left)` bytes and goes on.
  template <typename Skip>
  std::string Convert(std::string_view in, std::string_view substitute, Skip skip) {
    std::string out;
    if (!ok()) return out;
    out.resize(in.size() * 2 + 16);
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    size_t used = 0;
    while (srcLeft > 0) {
      char* dst = out.data() + used;
      size_t dstLeft = out.size() - used;
      size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
      used = out.size() - dstLeft;
      if (r != static_cast<size_t>(-1)) break;
      if (errno == E2BIG) {
        out.resize(out.size() * 2);
        continue;
      }
      // EILSEQ or EINVAL (a sequence cut off at the end): substitute and step on.
      if (out.size() - used < substitute.size()) out.resize(out.size() * 2 + substitute.size());
      std::copy(substitute.begin(), substitute.end(), out.begin() + used);
      used += substitute.size();
      size_t n = std::min(srcLeft, skip(static_cast<unsigned char>(*src)));
      src += n;
      srcLeft -= n;
      iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    }
    out.resize(used);
    return out;
  }

 private:
  iconv_t cd_;
};

bool IsAscii(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

std::string Gb18030ToUtf8(std::string_view bytes) {
  if (IsAscii(bytes)) return std::string(bytes);
  Iconv cv("UTF-8", "GB18030");
  return cv.Convert(bytes, "\xEF\xBF\xBD", [](unsigned char) { return size_t{1}; });
}

std::string Utf8ToGb18030(std::string_view text) {
  if (IsAscii(text)) return std::string(text);
  Iconv cv("GB18030", "UTF-8");
  // Step over the whole bad sequence's lead byte only: the bytes after it are
  // judged again on their own.
  return cv.Convert(text, "?", [](unsigned char) { return size_t{1}; });
}

namespace {
// Bytes of the UTF-8 character at s[i]; 1 for a byte that starts no valid
// character (the converter writes one "?" for it).
size_t Utf8CharLength(std::string_view s, size_t i) {
  const int len = Utf8SequenceLength(static_cast<unsigned char>(s[i]));
  if (len == 1 || i + len > s.size() || !IsValidUtf8(s.substr(i, len))) return 1;
  return static_cast<size_t>(len);
}

// Bytes of the GB18030 character at g[i]: a second byte that is a digit
// marks the four-byte form.
size_t Gb18030CharLength(std::string_view g, size_t i) {
  if (static_cast<unsigned char>(g[i]) < 0x80) return 1;
  if (i + 1 < g.size() && g[i + 1] >= '0' && g[i + 1] <= '9') return 4;
  return 2;
}
}  // namespace

std::size_t Gb18030Length(std::string_view text) {
  if (IsAscii(text)) return text.size();
  return Utf8ToGb18030(text).size();
}

std::string TruncateToGb18030Bytes(std::string_view text, std::size_t maxBytes) {
  // One conversion, then both forms are walked side by side: every UTF-8
  // character (or stray byte) is exactly one GB18030 character.
  const std::string gb = Utf8ToGb18030(text);
  if (gb.size() <= maxBytes) return std::string(text);
  size_t g = 0;
  size_t i = 0;
  while (i < text.size() && g < gb.size()) {
    const size_t need = Gb18030CharLength(gb, g);
    if (g + need > maxBytes) break;
    g += need;
    i += Utf8CharLength(text, i);
  }
  return std::string(text.substr(0, i));
}

bool IsGbkFamilyCharset(std::string_view charset) {
  std::string c;
  for (char ch : charset) c += static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return c == "gbk" || c == "gb2312" || c == "gb18030" || c == "cp936" || c == "x-gbk" ||
         c == "ms936" || c == "windows-936" || c == "euc-cn" || c == "csgb2312" || c == "x-euc-cn";
}

}  // namespace orv
