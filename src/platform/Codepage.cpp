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
// Decodes the UTF-8 character at s[i]; returns its length and sets cp, or
// returns 1 with cp = 0xFFFD for an invalid byte.
size_t DecodeUtf8(std::string_view s, size_t i, char32_t& cp) {
  unsigned char c = static_cast<unsigned char>(s[i]);
  int len = Utf8SequenceLength(c);
  if (len == 1) {
    cp = c < 0x80 ? c : 0xFFFD;
    return 1;
  }
  if (i + len > s.size() || !IsValidUtf8(s.substr(i, len))) {
    cp = 0xFFFD;
    return 1;
  }
  char32_t v = c & (0xFF >> (len + 1));
  for (int k = 1; k < len; ++k) v = (v << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
  cp = v;
  return static_cast<size_t>(len);
}

// GB18030 maps ASCII to one byte, the BMP (outside the two-byte repertoire)
// and everything above it to four bytes. The two-byte repertoire is exactly
// what GBK covers plus the few additions of GB18030; ask iconv per character
// only for BMP characters outside ASCII.
size_t Gb18030CharBytes(char32_t cp, std::string_view utf8Char) {
  if (cp < 0x80) return 1;
  if (cp > 0xFFFF) return 4;
  if (cp == 0xFFFD && utf8Char.size() == 1) return 1;  // stray byte, written as '?'
  return Utf8ToGb18030(utf8Char).size();
}
}  // namespace

std::size_t Gb18030Length(std::string_view text) {
  if (IsAscii(text)) return text.size();
  return Utf8ToGb18030(text).size();
}

std::string TruncateToGb18030Bytes(std::string_view text, std::size_t maxBytes) {
  size_t bytes = 0;
  size_t i = 0;
  while (i < text.size()) {
    char32_t cp;
    size_t len = DecodeUtf8(text, i, cp);
    size_t need = Gb18030CharBytes(cp, text.substr(i, len));
    if (bytes + need > maxBytes) break;
    bytes += need;
    i += len;
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
