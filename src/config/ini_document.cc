#include "config/ini_document.h"

#include "config/gbk_words.h"

namespace kx {
namespace {

constexpr std::string_view kCrLf = "\r\n";

std::string headerOf(std::string_view section) {
  std::string h;
  h.reserve(section.size() + 2);
  h += '[';
  h += section;
  h += ']';
  return h;
}

std::string keyPattern(std::string_view key) {
  std::string p;
  p.reserve(key.size() + 3);
  p += kCrLf;
  p += key;
  p += '=';
  return p;
}

// A setValue that must insert its key line more often than this gives up, as
// one that cannot find its appended header does. Only an event
// handler that keeps undoing the insert can get there.
constexpr int kMaxPasses = 10;

}  // namespace

void IniDocument::attachMirror(std::unique_ptr<SpliceFile> file) {
  mirror_ = std::move(file);
  inSync_ = true;
}

void IniDocument::closeMirror() {
  if (mirror_) mirror_->close();
  mirror_.reset();
  inSync_ = true;
}

std::int64_t IniDocument::find(std::string_view pattern, std::int64_t from) const {
  if (from < 1) from = 1;
  if (from > length()) return -1;
  std::size_t hit = std::string_view(doc_).find(pattern, static_cast<std::size_t>(from - 1));
  return hit == std::string_view::npos ? -1 : static_cast<std::int64_t>(hit) + 1;
}

std::int64_t IniDocument::findSection(std::string_view name, std::int64_t from, bool pump) {
  const std::string header = headerOf(name);
  std::int64_t p = from;
  for (;;) {
    if (pump && pump_) pump_();
    std::int64_t h = find(header, p);
    if (h == -1) return -1;
    // Bytes h-2 and h-1 (1-based) are 0-based h-3 and h-2.
    if (h == 1 || (h >= 3 && doc_[h - 3] == '\r' && doc_[h - 2] == '\n')) return h;
    p = h + 1;
  }
}

std::int64_t IniDocument::nextSectionStart(std::int64_t from, std::int64_t before) const {
  std::int64_t a = from;
  std::int64_t g = -2;  // last "]" CR LF found, reused while it lies ahead of a
  std::int64_t c = -2;  // last CR LF found from a "[", likewise
  for (;;) {
    a = find("\r\n[", a);
    if (a == -1 || a >= before) return -1;
    a += 2;
    if (g == -2 || g < a) g = find("]\r\n", a);
    if (g > before) return -1;
    // No "]" CR LF after a means none after any later a either: searching on
    // for a later candidate could only end in -1.
    if (g == -1) return -1;
    if (c == -2 || (c != -1 && c < a)) c = find(kCrLf, a);
    if (c == -1 || c > g) return a;  // a..g holds no CR LF (one at g is impossible: g is "]")
  }
}

std::int64_t IniDocument::findKey(std::int64_t h, std::string_view section, std::string_view key) const {
  const std::int64_t e = h + static_cast<std::int64_t>(section.size()) + 2 - 1;
  std::int64_t m = find(keyPattern(key), e);
  if (m == -1) return -1;
  std::int64_t k = m + 2;
  if (nextSectionStart(e + 1, k - 1) != -1) return -1;
  return k;
}

std::string IniDocument::getValue(std::string_view section, std::string_view key,
                                  std::string_view defaultText, bool defaultIfEmpty) {
  std::int64_t h = findSection(section, 0, true);
  if (h == -1) return std::string(defaultText);
  std::int64_t k = findKey(h, section, key);
  if (k == -1) return std::string(defaultText);
  std::int64_t v = k + static_cast<std::int64_t>(key.size()) + 1;
  std::int64_t t = find(kCrLf, v);
  std::int64_t z = t == -1 ? length() : t - 1;
  if (z < v) {
    if (defaultIfEmpty) return std::string(defaultText);
    return {};
  }
  std::string value = doc_.substr(static_cast<std::size_t>(v - 1), static_cast<std::size_t>(z - v + 1));
  value.resize(std::min(value.size(), value.find('\0')));
  return value;
}

int IniDocument::setValue(std::string_view section, std::string_view key, std::string_view value) {
  const std::string header = headerOf(section);
  int appends = 0;
  int inserts = 0;
  std::int64_t p = 0;
  for (;;) {
    std::int64_t h = findSection(section, p, true);
    if (h == -1) {
      const std::int64_t L = length();
      std::string add = L > 0 ? std::string(kCrLf) + header : header;
      splice(L + 1, 0, add);
      if (++appends > 10) {
        reportWriteFailure();
        return -1;
      }
      p = L;
      continue;
    }
    const std::int64_t e = h + static_cast<std::int64_t>(header.size()) - 1;
    std::int64_t k = findKey(h, section, key);
    if (k != -1) {
      std::int64_t v = k + static_cast<std::int64_t>(key.size()) + 1;
      std::int64_t t = find(kCrLf, v);
      std::int64_t z = t == -1 ? length() : t - 1;
      splice(v, z - v + 1, value);
      return 0;
    }
    if (++inserts > kMaxPasses) {
      reportWriteFailure();
      return -1;
    }
    splice(e + 1, 0, keyPattern(key));
    p = h;
  }
}

int IniDocument::deleteEntry(std::string_view section, std::string_view key) {
  std::int64_t h = findSection(section, 0, false);
  if (h == -1) return 1;
  const std::int64_t L = length();
  std::int64_t n = nextSectionStart(h, L);
  std::int64_t end = n == -1 ? L : n - 1;
  if (key.empty()) {
    splice(h, end - h + 1, {});
    return 0;
  }
  std::int64_t m = find(keyPattern(key), h);
  if (m == -1) return 2;
  std::int64_t t = find(kCrLf, m + 2);
  std::int64_t z = t == -1 ? L : t - 1;
  if (z > end) return 2;
  splice(m, z - m + 1, {});
  return 0;
}

int IniDocument::renameSection(std::string_view oldName, std::string_view newName) {
  std::int64_t h = findSection(oldName, 0, true);
  if (h == -1) return 1;
  splice(h + 1, static_cast<std::int64_t>(oldName.size()), newName);
  return 0;
}

int IniDocument::renameKey(std::string_view section, std::string_view oldKey, std::string_view newKey) {
  std::int64_t h = findSection(section, 0, true);
  if (h == -1) return 1;
  std::int64_t k = findKey(h, section, oldKey);
  if (k == -1) return 2;
  std::int64_t q = find("=", k);
  if (q == -1) return 2;  // cannot happen: the key line holds its "="
  splice(k, q - k, newKey);
  return 0;
}

void IniDocument::splice(std::int64_t position, std::int64_t count, std::string_view bytes) {
  const std::int64_t L = length();
  if (position < 1 || position > L + 1 || count < 0 || count > L - (position - 1)) return;
  doc_.replace(static_cast<std::size_t>(position - 1), static_cast<std::size_t>(count), bytes);
  mirrorSplice(static_cast<std::uint64_t>(position - 1), static_cast<std::uint64_t>(count), bytes);
}

void IniDocument::mirrorSplice(std::uint64_t offset, std::uint64_t count, std::string_view bytes) {
  if (!mirrorOpen()) return;  // the document alone changes; nothing is reported
  if (inSync_ && mirror_->splice(offset, count, bytes)) return;
  // A failed splice may have torn the file: rewrite it whole, now or at the
  // next change.
  inSync_ = mirror_->replaceAll(doc_);
}

void IniDocument::reportWriteFailure() {
  if (!messages_) return;
  messages_(MessageIcon::Exclamation, std::string(gbk::kLumsaTitle), std::string(gbk::kWriteFailureText));
  messages_(MessageIcon::None, std::string(gbk::kInfoTitle), text());
}

}  // namespace kx
