#include "search/match/regex/regex_matcher.h"

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#include "search/match/regex/regex_translator.h"
#include "text/gbk_codec.h"

namespace kx {
namespace {

constexpr int kIgnoreCase = 1;
constexpr int kMultiline = 2;
constexpr int kGlobal = 4;

void* mallocMemory(std::size_t size, void*) { return std::malloc(size); }
void freeMemory(void* block, void*) { std::free(block); }

std::string pcreErrorText(int code) {
  PCRE2_UCHAR buffer[256];
  int n = pcre2_get_error_message(code, buffer, sizeof buffer / sizeof buffer[0]);
  std::string text;
  for (int i = 0; i < n; ++i) text += static_cast<char>(buffer[i] < 0x80 ? buffer[i] : '?');
  return text;
}

bool isLimitError(int rc) {
  return rc == PCRE2_ERROR_MATCHLIMIT || rc == PCRE2_ERROR_DEPTHLIMIT || rc == PCRE2_ERROR_HEAPLIMIT ||
         rc == PCRE2_ERROR_JIT_STACKLIMIT;
}

}  // namespace

// The PCRE2 objects shared by the matcher and its workers: matching only
// reads them. matchContext holds the limits that every worker copies.
struct RegexMatcher::Engine {
  pcre2_general_context* general = nullptr;
  pcre2_compile_context* compileContext = nullptr;
  pcre2_match_context* matchContext = nullptr;
  pcre2_code* code = nullptr;  // null when the pattern in force does not compile
  bool jit = false;

  void dropCode() {
    pcre2_code_free(code);
    code = nullptr;
    jit = false;
  }

  ~Engine() {
    dropCode();
    pcre2_match_context_free(matchContext);
    pcre2_compile_context_free(compileContext);
    pcre2_general_context_free(general);
  }
};

// A worker's own PCRE2 objects. They live as long as the worker, so
// matching allocates nothing (with the JIT).
struct RegexMatcher::Worker::State {
  pcre2_match_context* context = nullptr;
  pcre2_jit_stack* jitStack = nullptr;
  pcre2_match_data* data = nullptr;

  ~State() {
    pcre2_match_data_free(data);
    pcre2_jit_stack_free(jitStack);
    pcre2_match_context_free(context);
  }
};

RegexMatcher::RegexMatcher() : RegexMatcher(EngineMemory{mallocMemory, freeMemory, nullptr}) {}

RegexMatcher::RegexMatcher(const EngineMemory& memory) {
  auto engine = std::make_unique<Engine>();
  engine->general = pcre2_general_context_create(memory.allocate, memory.release, memory.data);
  if (!engine->general) return;
  engine->compileContext = pcre2_compile_context_create(engine->general);
  engine->matchContext = pcre2_match_context_create(engine->general);
  if (!engine->compileContext || !engine->matchContext) return;
  // A lone CR ends a line for ^, $ and `.` as it does in the dialect.
  pcre2_set_newline(engine->compileContext, PCRE2_NEWLINE_ANYCRLF);
  pcre2_set_match_limit(engine->matchContext, kMatchLimit);
  pcre2_set_depth_limit(engine->matchContext, kDepthLimit);
  engine_ = std::move(engine);
  compile();
}

RegexMatcher::~RegexMatcher() = default;

RegexMatcher::Worker::Worker(RegexMatcher& matcher)
    : matcher_(matcher),
      state_(matcher.engine_ && matcher.engine_->code ? std::make_unique<State>() : nullptr) {
  if (!state_) return;
  const Engine& engine = *matcher.engine_;
  state_->context = pcre2_match_context_copy(engine.matchContext);
  state_->data = pcre2_match_data_create_from_pattern(engine.code, engine.general);
  if (!state_->context || !state_->data) throw std::bad_alloc();
  if (engine.jit) {
    state_->jitStack = pcre2_jit_stack_create(32 * 1024, kJitStackBytes, engine.general);
    if (!state_->jitStack) throw std::bad_alloc();
    pcre2_jit_stack_assign(state_->context, nullptr, state_->jitStack);
  }
}

RegexMatcher::Worker::~Worker() = default;

int RegexMatcher::Worker::matchAt(std::u16string_view subject, std::size_t offset) {
  const Engine& engine = *matcher_.engine_;
  const auto* units = reinterpret_cast<PCRE2_SPTR>(subject.data());
  int rc = engine.jit ? pcre2_jit_match(engine.code, units, subject.size(), offset, PCRE2_NO_UTF_CHECK, state_->data,
                                        state_->context)
                      : pcre2_match(engine.code, units, subject.size(), offset, PCRE2_NO_UTF_CHECK, state_->data,
                                    state_->context);
  if (rc == PCRE2_ERROR_NOMATCH) return 0;
  if (rc < 0 && isLimitError(rc)) matcher_.limitHits_.fetch_add(1, std::memory_order_relaxed);
  return rc < 0 ? -1 : 1;
}

bool RegexMatcher::Worker::matches(std::string_view keyword) {
  if (!state_ || matcher_.ruledOutByFirstCharacter(keyword)) return false;
  return matchAt(subject_.convert(keyword), 0) > 0;
}

int RegexMatcher::Worker::countMatches(std::string_view text) {
  if (!(matcher_.cachedMask_ & kGlobal)) return matches(text) ? 1 : 0;
  if (!state_) return 0;
  const std::u16string_view subject = subject_.convert(text);
  int count = 0;
  std::size_t offset = 0;
  while (offset <= subject.size()) {
    int rc = matchAt(subject, offset);
    if (rc < 0) return 0;  // the whole call failed
    if (rc == 0) break;
    ++count;
    const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(state_->data);
    // After an empty match the next search starts one character on.
    offset = (ovector[1] == ovector[0]) ? ovector[1] + 1 : ovector[1];
  }
  return count;
}

bool RegexMatcher::setPattern(std::string_view pattern, bool ignoreCase, bool multiline, bool global) {
  limitHits_ = 0;
  const int mask = (ignoreCase ? kIgnoreCase : 0) | (multiline ? kMultiline : 0) | (global ? kGlobal : 0);
  const bool patternChanges = !pattern.empty() && pattern != cachedPattern_;
  if (!patternChanges && mask == cachedMask_) return true;
  if (patternChanges) cachedPattern_ = pattern;
  cachedMask_ = mask;
  compile();
  return true;
}

void RegexMatcher::compile() {
  errorText_.clear();
  errorOffset_ = 0;
  unsupported_ = false;
  prefilter_.reset();
  lineStartKnown_ = false;
  own_.reset();
  if (!engine_) return;
  engine_->dropCode();

  TranslatedRegex translated = translateRegex(gbkToUtf16(cachedPattern_));
  if (!translated.error.empty()) {
    errorText_ = translated.error;
    errorOffset_ = translated.errorOffset;
    unsupported_ = translated.unsupported;
    return;
  }
  uint32_t options = PCRE2_UTF | PCRE2_MATCH_UNSET_BACKREF | PCRE2_ALLOW_EMPTY_CLASS | PCRE2_NEVER_BACKSLASH_C;
  if (translated.lookaroundOrReference) options |= PCRE2_NO_START_OPTIMIZE;
  if (cachedMask_ & kIgnoreCase) options |= PCRE2_CASELESS;
  // With Multiline, ^ also matches after a newline that ends the text; without
  // it, $ matches only at the very end, not before a final newline.
  options |= (cachedMask_ & kMultiline) ? PCRE2_MULTILINE | PCRE2_ALT_CIRCUMFLEX : PCRE2_DOLLAR_ENDONLY;

  int errorCode = 0;
  PCRE2_SIZE errorAt = 0;
  engine_->code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(translated.pcre.data()), translated.pcre.size(), options,
                                &errorCode, &errorAt, engine_->compileContext);
  if (!engine_->code) {
    // PCRE2 wants each alternative of a lookbehind to have one length; the
    // dialect does not.
    unsupported_ = errorCode == PCRE2_ERROR_LOOKBEHIND_NOT_FIXED_LENGTH ||
                   errorCode == PCRE2_ERROR_LOOKBEHIND_TOO_COMPLICATED || errorCode == PCRE2_ERROR_LOOKBEHIND_TOO_LONG;
    errorText_ = unsupported_ && errorCode != PCRE2_ERROR_LOOKBEHIND_TOO_LONG ? "lookbehind of varying length"
                                                                               : pcreErrorText(errorCode);
    errorOffset_ = translated.sourceOffsetOf(errorAt);
    return;
  }
  engine_->jit = pcre2_jit_compile(engine_->code, PCRE2_JIT_COMPLETE) == 0;
  try {
    own_ = std::make_unique<Worker>(*this);
  } catch (const std::bad_alloc&) {
    engine_->dropCode();
    errorText_ = "out of memory";
    return;
  }
  prefilter_ = choosePrefilter(translated.requiredRuns, (cachedMask_ & kIgnoreCase) != 0);
  noteLineStart(translated.lineStart);
}

void RegexMatcher::noteLineStart(const std::optional<LineStartCharacters>& lineStart) {
  if (!lineStart) return;
  const bool ignoreCase = (cachedMask_ & kIgnoreCase) != 0;
  // Under case folding a non-ASCII member may pair with an ASCII letter
  // (KELVIN SIGN with k); such classes get no shortcut.
  if (ignoreCase && lineStart->nonAscii) return;
  std::bitset<128> members = lineStart->ascii;
  bool nonAscii = lineStart->nonAscii;
  if (ignoreCase) {
    for (int c = 'a'; c <= 'z'; ++c) {
      const bool either = members[static_cast<std::size_t>(c)] || members[static_cast<std::size_t>(c - 32)];
      members[static_cast<std::size_t>(c)] = either;
      members[static_cast<std::size_t>(c - 32)] = either;
    }
    // k and s have non-ASCII partners (KELVIN SIGN, LONG S), which matter
    // only if a GBK text can hold them.
    char bytes[2];
    nonAscii = nonAscii || (members['k'] && unicodeToGbk(0x212A, bytes) != 0) ||
               (members['s'] && unicodeToGbk(0x017F, bytes) != 0);
  }
  if (lineStart->negated) {
    members.flip();
    nonAscii = true;
  }
  lineStartKnown_ = true;
  lineStartAscii_ = members;
  lineStartNonAscii_ = nonAscii;
}

bool RegexMatcher::ruledOutByFirstCharacter(std::string_view keyword) const {
  if (!fastPaths_ || !lineStartKnown_) return false;
  if (keyword.empty()) return true;  // a match needs a first character
  const auto first = static_cast<unsigned char>(keyword[0]);
  if (first < 0x80 ? lineStartAscii_[first] : lineStartNonAscii_) return false;
  // Another line start inside the keyword would give the pattern another chance.
  return std::memchr(keyword.data(), '\r', keyword.size()) == nullptr &&
         std::memchr(keyword.data(), '\n', keyword.size()) == nullptr;
}
bool RegexMatcher::matches(std::string_view keyword) { return own_ && own_->matches(keyword); }

int RegexMatcher::countMatches(std::string_view text) { return own_ ? own_->countMatches(text) : 0; }

}  // namespace kx
