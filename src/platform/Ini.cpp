#include "platform/Ini.h"

#include <sys/stat.h>

#include <mutex>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/Codepage.h"
#include "platform/Files.h"

namespace orv {
namespace {

constexpr std::string_view kCrLf = "\r\n";

bool IsBlankChar(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlankChar(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlankChar(s.back())) s.remove_suffix(1);
  return s;
}

// Only ASCII letters fold: every byte of a multi-byte UTF-8 character is
// >= 0x80, so two different characters can never compare equal here.
char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  }
  return true;
}

// One physical line of the raw file. CR and LF never occur inside a GB18030
// character, so the raw bytes can be cut into lines before decoding.
struct RawLine {
  std::string_view text;
  std::string_view end;  // "\r\n", "\n", "\r" or "" for a last line without one
};

class LineReader {
 public:
  explicit LineReader(std::string_view bytes) : rest_(bytes) {}

  bool Next(RawLine& line) {
    if (rest_.empty()) return false;
    size_t cut = rest_.find_first_of(kCrLf);
    if (cut == std::string_view::npos) {
      // The empty end still points into the buffer: offsets are taken from it.
      line = {rest_, rest_.substr(rest_.size())};
      rest_ = rest_.substr(rest_.size());
      return true;
    }
    size_t endLength = (rest_[cut] == '\r' && cut + 1 < rest_.size() && rest_[cut + 1] == '\n') ? 2 : 1;
    line = {rest_.substr(0, cut), rest_.substr(cut, endLength)};
    rest_.remove_prefix(cut + endLength);
    return true;
  }

 private:
  std::string_view rest_;
};

enum class LineKind { Blank, Comment, Section, Key, Other };

struct ParsedLine {
  LineKind kind = LineKind::Other;
  std::string name;   // section or key name, trimmed, UTF-8
  std::string value;  // raw value text after "=", UTF-8, untrimmed
};

// The line is decoded first: in GBK "[", "]" and ASCII letters can be the
// second byte of a character, so looking for them in the raw bytes would cut
// names in the middle of a character.
ParsedLine ParseLine(std::string_view raw, bool firstLine) {
  ParsedLine out;
  std::string decoded = Gb18030ToUtf8(raw);
  std::string_view text = decoded;
  // A byte-order mark written by an editor must not hide the first section.
  constexpr std::string_view kBom = "\xEF\xBB\xBF";
  if (firstLine && text.substr(0, kBom.size()) == kBom) text.remove_prefix(kBom.size());
  std::string_view trimmed = Trim(text);
  if (trimmed.empty()) {
    out.kind = LineKind::Blank;
    return out;
  }
  if (trimmed.front() == ';') {
    out.kind = LineKind::Comment;
    return out;
  }
  if (trimmed.front() == '[') {
    size_t close = trimmed.find(']');
    if (close != std::string_view::npos) {
      out.kind = LineKind::Section;
      out.name = std::string(Trim(trimmed.substr(1, close - 1)));
      return out;
    }
    // Without "]" the line is no header; it may still be a key line.
  }
  size_t eq = text.find('=');
  if (eq == std::string_view::npos) return out;
  out.kind = LineKind::Key;
  out.name = std::string(Trim(text.substr(0, eq)));
  out.value = std::string(text.substr(eq + 1));
  return out;
}

std::string ValueForReading(std::string_view value) {
  std::string_view v = Trim(value);
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
    v = v.substr(1, v.size() - 2);
  }
  // Most values are far below the limit; the character-wise cut is only worth
  // its cost when the GB18030 form (at most twice the UTF-8 length) could exceed it.
  if (v.size() * 2 <= kIniMaxValueBytes) return std::string(v);
  return TruncateToGb18030Bytes(v, kIniMaxValueBytes);
}

// Opening a named pipe or a device for reading could block forever; only a
// regular file (or nothing at all) is a profile.
bool IsRegularFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::mutex& WriteMutex() {
  static std::mutex mutex;
  return mutex;
}

// The current content for a read-modify-write. Nothing (no write may happen)
// when the path exists but is no regular file or cannot be read, so an
// unreadable file is never replaced by one holding a single key.
std::optional<std::string> ContentForUpdate(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return std::string();
  if (!S_ISREG(st.st_mode)) return std::nullopt;
  std::string bytes = ReadFileBytes(path);
  if (bytes.empty() && st.st_size > 0) return std::nullopt;
  return bytes;
}

std::string WithoutLineBreaks(std::string_view value) {
  std::string out;
  out.reserve(value.size());
  for (char c : value) {
    if (c != '\r' && c != '\n') out += c;
  }
  return out;
}

bool EndsWithLineBreak(std::string_view s) { return !s.empty() && (s.back() == '\n' || s.back() == '\r'); }

// Names that could not be found again after being written, or would add lines.
bool WritableSectionName(std::string_view name) {
  return !name.empty() && name.find_first_of("]\r\n") == std::string_view::npos;
}

bool WritableKeyName(std::string_view name) {
  return !name.empty() && name.find_first_of("=\r\n") == std::string_view::npos && name.front() != ';' &&
         name.front() != '[';
}

}  // namespace

std::string ReadIniValue(const std::string& path, const std::string& section, const std::string& key,
                         const std::string& fallback) {
  std::string_view wantSection = Trim(section);
  std::string_view wantKey = Trim(key);
  if (wantSection.empty() || wantKey.empty() || !IsRegularFile(path)) return fallback;
  std::string bytes = ReadFileBytes(path);
  LineReader reader(bytes);
  RawLine raw;
  bool inSection = false;
  bool seenSection = false;
  bool first = true;
  while (reader.Next(raw)) {
    ParsedLine line = ParseLine(raw.text, first);
    first = false;
    if (line.kind == LineKind::Section) {
      // Only the first section of that name counts; a later one is not searched.
      if (seenSection) return fallback;
      inSection = SameName(line.name, wantSection);
      seenSection = inSection;
    } else if (inSection && line.kind == LineKind::Key && SameName(line.name, wantKey)) {
      return ValueForReading(line.value);
    }
  }
  return fallback;
}

bool WriteIniValue(const std::string& path, const std::string& section, const std::string& key,
                   const std::string& value) {
  std::string_view wantSection = Trim(section);
  std::string_view wantKey = Trim(key);
  if (!WritableSectionName(wantSection) || !WritableKeyName(wantKey)) return false;
  std::string encodedValue = Utf8ToGb18030(WithoutLineBreaks(value));

  std::lock_guard<std::mutex> lock(WriteMutex());
  std::optional<std::string> current = ContentForUpdate(path);
  if (!current) return false;
  const std::string& bytes = *current;

  std::vector<RawLine> lines;
  {
    LineReader reader(bytes);
    RawLine raw;
    while (reader.Next(raw)) lines.push_back(raw);
  }

  // Where the section starts and ends, the last non-blank line inside it, and
  // the key's line when it is already there.
  std::optional<size_t> header;
  size_t lastFilled = 0;
  std::optional<size_t> keyLine;
  for (size_t i = 0; i < lines.size(); ++i) {
    ParsedLine line = ParseLine(lines[i].text, i == 0);
    if (line.kind == LineKind::Section) {
      if (header) break;
      if (SameName(line.name, wantSection)) {
        header = i;
        lastFilled = i;
      }
      continue;
    }
    if (!header) continue;
    if (line.kind != LineKind::Blank) lastFilled = i;
    if (line.kind == LineKind::Key && SameName(line.name, wantKey)) {
      keyLine = i;
      break;
    }
  }

  std::string out;
  out.reserve(bytes.size() + encodedValue.size() + wantSection.size() + wantKey.size() + 16);
  auto appendUpTo = [&](size_t endLine) {
    if (endLine == 0) return;
    const RawLine& last = lines[endLine - 1];
    size_t stop = static_cast<size_t>(last.end.data() + last.end.size() - bytes.data());
    out.append(bytes, 0, stop);
  };
  auto appendFrom = [&](size_t beginLine) {
    if (beginLine >= lines.size()) return;
    size_t start = static_cast<size_t>(lines[beginLine].text.data() - bytes.data());
    out.append(bytes, start, std::string::npos);
  };

  if (keyLine) {
    const RawLine& line = lines[*keyLine];
    // "=" is below every trail byte of GBK and GB18030, so the first raw "="
    // is the one the decoded line was split at; the stored key keeps its bytes.
    std::string_view storedKey = Trim(line.text.substr(0, line.text.find('=')));
    appendUpTo(*keyLine);
    out.append(storedKey);
    out += '=';
    out += encodedValue;
    out.append(line.end);  // only the file's last line has none
    appendFrom(*keyLine + 1);
  } else if (header) {
    appendUpTo(lastFilled + 1);
    // Only the file's last line can lack a line end; the new line needs one before it.
    if (lines[lastFilled].end.empty()) out.append(kCrLf);
    out += Utf8ToGb18030(wantKey);
    out += '=';
    out += encodedValue;
    out.append(kCrLf);
    appendFrom(lastFilled + 1);
  } else {
    out = bytes;
    if (!out.empty() && !EndsWithLineBreak(out)) out.append(kCrLf);
    out += '[';
    out += Utf8ToGb18030(wantSection);
    out += ']';
    out.append(kCrLf);
    out += Utf8ToGb18030(wantKey);
    out += '=';
    out += encodedValue;
    out.append(kCrLf);
  }
  return WriteFileBytes(path, out);
}

}  // namespace orv
