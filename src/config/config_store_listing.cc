// ConfigStore's listing operations: sections holding a key, keys holding a
// value, and the filtered lists of section and key lines read from the mirror.
#include <algorithm>

#include "config/config_store.h"
#include "config/text_pieces.h"

namespace kx {
namespace {

constexpr std::string_view kCrLf = "\r\n";

// Splits text into lines the way the listing operations read the mirror: a
// line ends at LF (a CR just before it is dropped), at NUL or at byte 26.
template <typename OnLine>
void forEachLine(std::string_view text, OnLine onLine) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\n' || c == '\0' || c == '\x1A') {
      std::size_t end = i;
      if (c == '\n' && end > start && text[end - 1] == '\r') --end;
      onLine(text.substr(start, end - start));
      start = i + 1;
    }
  }
  if (start < text.size()) onLine(text.substr(start));
}

bool isListedHeader(std::string_view line) { return !line.empty() && line.front() == '[' && line.back() == ']'; }

bool passes(std::string_view line, std::string_view include, std::string_view exclude) {
  if (!include.empty() && line.find(include) == std::string_view::npos) return false;
  if (!exclude.empty() && line.find(exclude) != std::string_view::npos) return false;
  return true;
}

}  // namespace

// 9
int ConfigStore::sectionsWithKey(std::string_view key, std::vector<std::string>& out) {
  out.clear();
  // A snapshot: an event handler run by the pump may change the document.
  const std::string doc = doc_.bytes();
  const std::string pattern = concat({kCrLf, key, "="});
  std::size_t prev = std::string::npos;  // the previous occurrence
  for (std::size_t m = doc.find(pattern); m != std::string::npos; m = doc.find(pattern, m + 1)) {
    if (doc_.pump()) doc_.pump()();
    // Back to the header line above: "]" CR LF, then the "[" before that "]"
    // on its line, which must begin the line. A candidate line that is no
    // header is passed over; reaching the previous occurrence means the same
    // section as that one.
    // Nothing before the previous occurrence (a line break) can head this one
    // unless it heads that one too, so the backward searches stop there.
    const std::size_t floor = prev == std::string::npos ? 0 : prev;
    const std::string_view all(doc);
    for (std::size_t last = m; last-- > floor;) {  // last: latest start allowed for "]" CR LF
      std::size_t j = all.substr(floor, last + 3 - floor).rfind("]\r\n");
      if (j == std::string_view::npos) break;
      j += floor;
      std::size_t crlf = j == 0 ? std::string::npos : doc.rfind(kCrLf, j - 1);
      std::size_t lineStart = crlf == std::string::npos ? 0 : crlf + 2;
      if (all.substr(lineStart, j - lineStart).rfind('[') == 0) {
        out.push_back(doc.substr(lineStart + 1, j - lineStart - 1));
        break;
      }
      last = j;  // the loop's decrement makes it j - 1
    }
    prev = m;
  }
  return static_cast<int>(out.size());
}

// 10
int ConfigStore::keysWithValue(std::string_view value, std::vector<std::string>& out,
                               std::string_view section) {
  out.clear();
  const std::string doc = doc_.bytes();
  const std::string pattern = value.empty() ? std::string("=\r\n") : concat({"=", value});
  // Hits come in document order, so the line of each hit and the nearest
  // complete header above it are tracked forward, line by line.
  std::size_t lineStart = 0;
  std::size_t lineEnd = std::min(doc.find(kCrLf), doc.size());
  bool haveHeader = false;
  std::string header;
  for (std::size_t q = doc.find(pattern); q != std::string::npos; q = doc.find(pattern, q + 1)) {
    if (doc_.pump()) doc_.pump()();
    while (q >= lineEnd && lineEnd < doc.size()) {
      // The line [lineStart, lineEnd) lies above the hit and ends in CR LF.
      std::string_view line(doc.data() + lineStart, lineEnd - lineStart);
      if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
        haveHeader = true;
        header.assign(line.substr(1, line.size() - 2));
      }
      lineStart = lineEnd + 2;
      lineEnd = std::min(doc.find(kCrLf, lineStart), doc.size());
    }
    if (!section.empty() && (!haveHeader || header != section)) continue;
    out.push_back(doc.substr(lineStart, q - lineStart));
  }
  return static_cast<int>(out.size());
}

template <typename OnLine>
void ConfigStore::forEachMirrorLine(OnLine onLine) {
  std::string content;
  if (!doc_.mirrorOpen()) return;
  doc_.mirror()->readAll(content);  // a snapshot; handlers may change the mirror
  forEachLine(content, [&](std::string_view line) {
    if (doc_.pump()) doc_.pump()();
    return onLine(line);
  });
}

// 12
int ConfigStore::listSections(std::vector<std::string>& out, std::string_view include,
                              std::string_view exclude) {
  out.clear();
  forEachMirrorLine([&](std::string_view line) {
    if (!isListedHeader(line) || !passes(line, include, exclude)) return;
    out.push_back(textBetween(line, "[", "]"));
  });
  return static_cast<int>(out.size());
}

// 13
int ConfigStore::listKeys(std::vector<std::string>& out, std::string_view include,
                          std::string_view exclude, std::string_view sectionGiven,
                          std::string_view headerInclude, std::string_view headerExclude) {
  out.clear();
  const bool bySection = !sectionGiven.empty();
  bool accepted = false;
  bool ended = false;
  forEachMirrorLine([&](std::string_view line) {
    if (ended) return;
    if (isListedHeader(line)) {
      if (!bySection) return;
      if (accepted) {
        ended = true;
        return;
      }
      if (passes(line, headerInclude, headerExclude)) accepted = true;
      return;
    }
    if (bySection && !accepted) return;
    if (line.find('=') == std::string_view::npos) return;
    std::string name = textBetween(line, "", "=");
    if (!name.empty() && passes(name, include, exclude)) out.push_back(std::move(name));
  });
  return static_cast<int>(out.size());
}

}  // namespace kx
