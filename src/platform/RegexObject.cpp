#define PCRE2_CODE_UNIT_WIDTH 8
#include "platform/RegexObject.h"

#include <pcre2.h>

#include <algorithm>
#include <limits>
#include <utility>
#include <vector>

#include "platform/Text.h"

namespace orv {

struct RegexObject::Engine {
  pcre2_code* code = nullptr;
  std::string pattern;
  uint32_t groups = 0;
  bool global = true;

  Engine() = default;
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;
  ~Engine() { pcre2_code_free(code); }
};

// The subject is kept once here and every match is a run of offset pairs into
// it, so thousands of matches with several groups cost no string copies.
struct RegexObject::Matches {
  std::string subject;
  uint32_t groups = 0;
  std::vector<size_t> offsets;  // (groups + 1) pairs per match; PCRE2_UNSET for idle groups

  size_t Stride() const { return 2 * (static_cast<size_t>(groups) + 1); }
};

namespace {

// A JIT stack only grows as deep as the match needs (the memory is reserved,
// not committed). Long lazy repeats take a few dozen bytes of it per subject
// byte, so its ceiling follows the subject.
constexpr size_t kJitStackStart = 32 * 1024;
constexpr size_t kJitStackBytesPerByte = 64;
constexpr size_t kJitStackFloor = size_t{64} << 20;
constexpr size_t kJitStackCeiling = size_t{1} << 30;
// The library's default match limit cuts a linear scan of a few megabytes
// short, yet a limit is still wanted against runaway backtracking; one that
// grows with the subject serves both.
constexpr uint64_t kMatchLimitFloor = 10'000'000;
constexpr uint64_t kMatchStepsPerByte = 16;
// When the JIT stack is not enough the interpreter takes over; its frames
// live on the heap, so these bound memory rather than recursion.
constexpr uint32_t kHeapLimitKiB = 1024 * 1024;  // 1 GiB
constexpr uint32_t kDepthLimit = std::numeric_limits<uint32_t>::max();

struct MatchDataFree {
  void operator()(pcre2_match_data* p) const { pcre2_match_data_free(p); }
};
struct MatchContextFree {
  void operator()(pcre2_match_context* p) const { pcre2_match_context_free(p); }
};
struct JitStackFree {
  void operator()(pcre2_jit_stack* p) const { pcre2_jit_stack_free(p); }
};
struct CompileContextFree {
  void operator()(pcre2_compile_context* p) const { pcre2_compile_context_free(p); }
};

bool IsUtfError(int rc) { return rc <= PCRE2_ERROR_UTF8_ERR1 && rc >= PCRE2_ERROR_UTF8_ERR21; }

// One pass of the standard global loop over `subject`, reporting each match's
// ovector to `onMatch` (which returns false to stop). The subject's UTF-8 is
// checked by the first match call only; every later call skips the check, so
// scanning stays linear in the subject however many matches it holds. Returns
// false, having reported nothing, when the subject is not valid UTF-8.
template <class OnMatch>
bool ScanMatches(const RegexObject::Engine& engine, std::string_view subject, OnMatch&& onMatch) {
  std::unique_ptr<pcre2_match_data, MatchDataFree> data(
      pcre2_match_data_create_from_pattern(engine.code, nullptr));
  std::unique_ptr<pcre2_match_context, MatchContextFree> context(
      pcre2_match_context_create(nullptr));
  if (!data || !context) return true;
  const size_t length = subject.size();
  pcre2_set_match_limit(context.get(),
                        static_cast<uint32_t>(std::clamp<uint64_t>(
                            kMatchStepsPerByte * length, kMatchLimitFloor,
                            std::numeric_limits<uint32_t>::max())));
  pcre2_set_heap_limit(context.get(), kHeapLimitKiB);
  pcre2_set_depth_limit(context.get(), kDepthLimit);
  // Created on first need: most scans never outgrow the default JIT stack.
  std::unique_ptr<pcre2_jit_stack, JitStackFree> jitStack;

  const auto* text = reinterpret_cast<PCRE2_SPTR>(subject.data());
  bool checked = false;

  auto match = [&](size_t offset, uint32_t options) {
    if (checked) options |= PCRE2_NO_UTF_CHECK;
    int rc = pcre2_match(engine.code, text, length, offset, options, data.get(), context.get());
    if (rc == PCRE2_ERROR_JIT_STACKLIMIT && !jitStack) {
      const size_t stackMax = std::clamp(
          length > kJitStackCeiling / kJitStackBytesPerByte ? kJitStackCeiling
                                                            : length * kJitStackBytesPerByte,
          kJitStackFloor, kJitStackCeiling);
      jitStack.reset(pcre2_jit_stack_create(kJitStackStart, stackMax, nullptr));
      if (jitStack) {
        pcre2_jit_stack_assign(context.get(), nullptr, jitStack.get());
        rc = pcre2_match(engine.code, text, length, offset, options, data.get(), context.get());
      }
    }
    if (rc == PCRE2_ERROR_JIT_STACKLIMIT)
      rc = pcre2_match(engine.code, text, length, offset, options | PCRE2_NO_JIT, data.get(),
                       context.get());
    return rc;
  };

  const size_t* ovector = pcre2_get_ovector_pointer(data.get());
  size_t offset = 0;
  uint32_t retryOptions = 0;
  while (offset <= length) {
    int rc = match(offset, retryOptions);
    if (!checked) {
      if (IsUtfError(rc)) return false;
      checked = true;
    }
    if (rc == PCRE2_ERROR_NOMATCH) {
      if (retryOptions == 0 || offset >= length) break;
      // Nothing but the empty match at this offset: step over one character.
      retryOptions = 0;
      offset += static_cast<size_t>(Utf8SequenceLength(static_cast<unsigned char>(subject[offset])));
      continue;
    }
    // Limits and other failures end the scan; the matches so far stand.
    if (rc < 0) break;
    // \K can report an end before the start; there is no sane way onward.
    if (ovector[1] < ovector[0]) break;
    if (!onMatch(ovector) || !engine.global) break;
    offset = ovector[1];
    retryOptions = ovector[0] == ovector[1] ? PCRE2_NOTEMPTY_ATSTART | PCRE2_ANCHORED : 0;
  }
  return true;
}

std::string_view Group(std::string_view subject, const size_t* ovector, uint32_t group) {
  size_t start = ovector[2 * group];
  size_t end = ovector[2 * group + 1];
  if (start == PCRE2_UNSET || end < start) return {};
  return subject.substr(start, end - start);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Appends `replacement` with its $ forms expanded for one match.
void AppendExpansion(std::string& out, std::string_view replacement, std::string_view subject,
                     const size_t* ovector, uint32_t groups) {
  const size_t n = replacement.size();
  size_t i = 0;
  while (i < n) {
    size_t dollar = replacement.find('$', i);
    if (dollar == std::string_view::npos || dollar + 1 >= n) {
      out.append(replacement.substr(i));
      return;
    }
    out.append(replacement.substr(i, dollar - i));
    const char c = replacement[dollar + 1];
    size_t used = 2;
    if (c == '$') {
      out += '$';
    } else if (c == '&') {
      out.append(Group(subject, ovector, 0));
    } else if (c == '`') {
      out.append(subject.substr(0, ovector[0]));
    } else if (c == '\'') {
      out.append(subject.substr(ovector[1]));
    } else if (IsDigit(c)) {
      uint32_t one = static_cast<uint32_t>(c - '0');
      uint32_t two = dollar + 2 < n && IsDigit(replacement[dollar + 2])
                         ? one * 10 + static_cast<uint32_t>(replacement[dollar + 2] - '0')
                         : 0;
      if (two >= 1 && two <= groups) {
        out.append(Group(subject, ovector, two));
        used = 3;
      } else if (one >= 1 && one <= groups) {
        out.append(Group(subject, ovector, one));
      } else {
        out += '$';
        used = 1;
      }
    } else {
      out += '$';
      used = 1;
    }
    i = dollar + used;
  }
}

}  // namespace

void RegexObject::Destroy() {
  matches_.reset();
  engine_.reset();
  count_ = 0;
}

bool RegexObject::Create(std::string_view pattern, std::optional<bool> ignoreCase,
                         std::optional<bool> multiline, std::optional<bool> global) {
  Destroy();
  std::unique_ptr<pcre2_compile_context, CompileContextFree> context(
      pcre2_compile_context_create(nullptr));
  if (!context) return false;
  // Spelled out so that "." and "$" treat only LF as a line end, whatever the
  // library was built with; a CR is an ordinary character.
  pcre2_set_newline(context.get(), PCRE2_NEWLINE_LF);

  uint32_t options = PCRE2_UTF;
  if (ignoreCase.value_or(true)) options |= PCRE2_CASELESS;
  if (multiline.value_or(true)) options |= PCRE2_MULTILINE;

  int error = 0;
  PCRE2_SIZE errorOffset = 0;
  auto engine = std::make_shared<Engine>();
  engine->code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(),
                               options, &error, &errorOffset, context.get());
  if (!engine->code) return false;
  // Without JIT support the interpreter runs the same pattern, only slower.
  pcre2_jit_compile(engine->code, PCRE2_JIT_COMPLETE);
  pcre2_pattern_info(engine->code, PCRE2_INFO_CAPTURECOUNT, &engine->groups);
  engine->pattern.assign(pattern);
  engine->global = global.value_or(true);
  engine_ = std::move(engine);
  return true;
}

std::string RegexObject::GetPattern() const { return engine_ ? engine_->pattern : std::string(); }

std::string RegexObject::Replace(std::string_view text, std::string_view replacement) const {
  if (!engine_) return std::string(text);
  std::string out;
  std::string mended;
  std::string_view subject = text;
  size_t copied = 0;
  auto substitute = [&](const size_t* ovector) {
    out.append(subject.substr(copied, ovector[0] - copied));
    AppendExpansion(out, replacement, subject, ovector, engine_->groups);
    copied = ovector[1];
    return true;
  };
  out.reserve(text.size());
  // A subject that fails the UTF-8 check reports nothing, so the second pass
  // starts from a clean output.
  if (!ScanMatches(*engine_, subject, substitute)) {
    mended = SanitizeUtf8(text);
    subject = mended;
    ScanMatches(*engine_, subject, substitute);
  }
  out.append(subject.substr(copied));
  return out;
}

int32_t RegexObject::Execute(std::string text) {
  matches_.reset();
  count_ = 0;
  if (!engine_) return 0;
  auto matches = std::make_shared<Matches>();
  matches->groups = engine_->groups;
  matches->subject = std::move(text);
  const size_t stride = matches->Stride();
  constexpr size_t kMaxCount = std::numeric_limits<int32_t>::max();
  auto keep = [&](const size_t* ovector) {
    matches->offsets.insert(matches->offsets.end(), ovector, ovector + stride);
    return matches->offsets.size() / stride < kMaxCount;
  };
  if (!ScanMatches(*engine_, matches->subject, keep)) {
    matches->subject = SanitizeUtf8(matches->subject);
    ScanMatches(*engine_, matches->subject, keep);
  }
  count_ = static_cast<int32_t>(matches->offsets.size() / stride);
  // Without matches there is nothing to ask about; drop the (maybe large) subject.
  if (count_ > 0) matches_ = std::move(matches);
  return count_;
}

std::string_view RegexObject::SubmatchView(int32_t i, int32_t j) const {
  if (!matches_ || i < 1 || i > count_ || j < 1 || static_cast<uint32_t>(j) > matches_->groups)
    return {};
  const size_t* ovector = matches_->offsets.data() + static_cast<size_t>(i - 1) * matches_->Stride();
  return Group(matches_->subject, ovector, static_cast<uint32_t>(j));
}

std::string RegexObject::GetMatchText(int32_t i) const {
  if (!matches_ || i < 1 || i > count_) return {};
  const size_t* ovector = matches_->offsets.data() + static_cast<size_t>(i - 1) * matches_->Stride();
  return std::string(Group(matches_->subject, ovector, 0));
}

std::string RegexObject::GetSubmatchText(int32_t i, int32_t j) const {
  return std::string(SubmatchView(i, j));
}

int32_t RegexObject::GetSubmatchCount() const {
  return count_ > 0 && matches_ ? static_cast<int32_t>(matches_->groups) : 0;
}

}  // namespace orv
