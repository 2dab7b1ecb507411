#include "config/config_store.h"

#include <algorithm>
#include <utility>

#include "config/gbk_words.h"
#include "platform/file_util.h"
#include "text/gbk_codec.h"

namespace kx {
namespace {

constexpr std::string_view kCrLf = "\r\n";

std::string concat(std::initializer_list<std::string_view> parts) {
  std::string out;
  for (auto p : parts) out.append(p);
  return out;
}

// The 0-based index of the last "\" of a GBK text that is not the trail
// byte of a double-byte character, or npos.
std::size_t lastBackslash(std::string_view s) {
  std::size_t last = std::string_view::npos;
  for (std::size_t i = 0; i < s.size();) {
    auto b = static_cast<unsigned char>(s[i]);
    if (b >= 0x80 && i + 1 < s.size()) {
      i += 2;
      continue;
    }
    if (s[i] == '\\') last = i;
    ++i;
  }
  return last;
}

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

ConfigStore::ConfigStore() = default;

ConfigStore::~ConfigStore() { close(); }

// 0
void ConfigStore::destroy() {
  close();
  loadedPath_.clear();
  pendingEdits_.clear();
  ++queueEpoch_;
  openedPath_.clear();
  currentSection_.clear();
  registryPrefix_.clear();
  busy_ = false;
  mode_ = StorageMode::DiskFile;
}

// 1
std::unique_ptr<ConfigStore> ConfigStore::clone() const {
  auto c = std::make_unique<ConfigStore>();
  c->doc_.assign(doc_.bytes());
  if (auto* mem = dynamic_cast<const MemorySpliceFile*>(doc_.mirror()); mem && mem->isOpen()) {
    c->doc_.attachMirror(std::make_unique<MemorySpliceFile>(mem->content()));
    if (!doc_.mirrorInSync()) c->doc_.markMirrorStale();
  }
  c->doc_.setPump(doc_.pump());
  c->doc_.setMessageSink(doc_.messageSink());
  c->loadedPath_ = loadedPath_;
  c->busy_ = busy_;
  c->pendingEdits_ = pendingEdits_;
  c->openedPath_ = openedPath_;
  c->currentSection_ = currentSection_;
  c->mode_ = mode_;
  c->registryPrefix_ = registryPrefix_;
  c->registry_ = registry_;
  return c;
}

// 2
void ConfigStore::close() {
  doc_.closeMirror();
  doc_.clear();
}

// 3
bool ConfigStore::load(const std::string& path, bool inMemory) {
  close();
  loadedPath_ = path;
  if (inMemory) {
    std::string data;
    readWholeFile(path, data);
    doc_.assign(data);
    doc_.attachMirror(std::make_unique<MemorySpliceFile>(data));
    return doc_.mirrorOpen();
  }
  // Open and lock first, then read through the locked file, so the
  // document is the file as no other writer can change it any more.
  if (auto file = DiskSpliceFile::open(path)) {
    std::string data;
    if (file->readAll(data)) {
      doc_.assign(std::move(data));
      doc_.attachMirror(std::move(file));
      return true;
    }
  }
  std::string data;
  readWholeFile(path, data);
  doc_.assign(std::move(data));
  return false;
}

// 4
bool ConfigStore::reload() {
  std::string data;
  if (loadedPath_.empty() || !readWholeFile(loadedPath_, data)) return false;
  if (doc_.mirrorOpen()) {
    std::string mirrored;
    if (!doc_.mirror()->readAll(mirrored) || mirrored != data) doc_.markMirrorStale();
  }
  doc_.assign(std::move(data));
  return true;
}

// 5
int ConfigStore::drainEdits() {
  if (pendingEdits_.empty()) return -1;
  if (drainDepth_ > 0) return kEditQueued;  // the running drain will reach them
  ++drainDepth_;
  bool first = true;
  int firstResult = -1;
  while (!pendingEdits_.empty()) {
    busy_ = true;
    const PendingEdit edit = pendingEdits_.front();
    const std::uint64_t epoch = queueEpoch_;
    int r = runEdit(edit);
    // The edit stays first in the list while it runs; remove it now unless
    // a handler released the list meanwhile (destroy).
    if (epoch == queueEpoch_ && !pendingEdits_.empty()) pendingEdits_.pop_front();
    busy_ = false;
    if (first) {
      firstResult = r;
      first = false;
    }
  }
  --drainDepth_;
  return firstResult;
}

int ConfigStore::enqueue(EditKind kind, std::vector<std::string> args) {
  pendingEdits_.push_back(PendingEdit{kind, std::move(args)});
  if (busy_) return kEditQueued;
  return drainEdits();
}

int ConfigStore::runEdit(const PendingEdit& edit) {
  auto arg = [&edit](std::size_t i) -> std::string_view {
    return i < edit.args.size() ? std::string_view(edit.args[i]) : std::string_view();
  };
  switch (edit.kind) {
    case EditKind::SetValue: return setValue(arg(0), arg(1), arg(2), true);
    case EditKind::DeleteEntry: return deleteEntry(arg(0), arg(1), true);
    case EditKind::RenameSection: return renameSection(arg(0), arg(1), true);
    case EditKind::RenameKey: return renameKey(arg(0), arg(1), arg(2), true);
  }
  return kEditFailed;
}

// 6
int ConfigStore::setValue(std::string_view section, std::string_view key, std::string_view value,
                          bool immediate) {
  if (immediate) return doc_.setValue(section, key, value);
  return enqueue(EditKind::SetValue, {std::string(section), std::string(key), std::string(value)});
}

// 7
std::string ConfigStore::getValue(std::string_view section, std::string_view key,
                                  std::string_view defaultText, bool defaultIfEmpty) {
  return doc_.getValue(section, key, defaultText, defaultIfEmpty);
}

// 8
std::int64_t ConfigStore::nextSectionStart(std::int64_t from, std::int64_t before) {
  return doc_.nextSectionStart(from, before);
}

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

// 11
bool ConfigStore::saveAs(const std::string& path) {
  const std::string& target = path.empty() ? loadedPath_ : path;
  if (target.empty()) return false;
  return writeFileExclusive(target, doc_.bytes());
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

// 14
int ConfigStore::deleteEntry(std::string_view section, std::string_view key, bool immediate) {
  if (immediate) return doc_.deleteEntry(section, key);
  return enqueue(EditKind::DeleteEntry, {std::string(section), std::string(key)});
}

// 15
int ConfigStore::renameSection(std::string_view oldName, std::string_view newName, bool immediate) {
  if (immediate) return doc_.renameSection(oldName, newName);
  return enqueue(EditKind::RenameSection, {std::string(oldName), std::string(newName)});
}

// 16
int ConfigStore::renameKey(std::string_view section, std::string_view oldKey, std::string_view newKey,
                           bool immediate) {
  if (immediate) return doc_.renameKey(section, oldKey, newKey);
  return enqueue(EditKind::RenameKey, {std::string(section), std::string(oldKey), std::string(newKey)});
}

// 17
std::string ConfigStore::getText() const { return doc_.text(); }

// 18
void ConfigStore::setText(std::string_view text, bool append) {
  // One splice either way: replacing everything is one write and a length
  // change in the mirror.
  if (append) {
    doc_.splice(doc_.length() + 1, 0, text);
  } else {
    doc_.splice(1, doc_.length(), text);
  }
}

// 19
void ConfigStore::unnamedSlot19() {}

// 20
bool ConfigStore::open(const std::string& path, StorageMode mode) {
  openedPath_ = path;
  mode_ = mode;
  if (mode == StorageMode::Registry) return true;
  return load(openedPath_, mode == StorageMode::MemoryFile);
}

// 21
void ConfigStore::setSection(std::string_view name) {
  currentSection_ = std::string(name);
  // The base name of openedPath: after the last separator ("/" or "\", so
  // a Windows path names the same key on every system), without extension.
  std::string_view base(openedPath_);
  std::size_t cut = base.find_last_of("/\\");
  if (cut != std::string_view::npos) base.remove_prefix(cut + 1);
  std::size_t dot = base.rfind('.');
  if (dot != std::string_view::npos) base = base.substr(0, dot);
  std::optional<std::string> baseGbk = utf8ToGbk(base);
  registryPrefix_ = concat({gbk::kRegistryRoot, "\\", baseGbk ? std::string_view(*baseGbk) : base, "\\",
                            currentSection_, "\\"});
}

std::string ConfigStore::binaryValuePath(std::string_view key) const {
  std::string name = gbkToUtf8(currentSection_) + "-" + gbkToUtf8(key) + ".ibn";
  return joinPath(joinPath(parentFolder(openedPath_), "inibin"), name);
}

// 22
std::string ConfigStore::readBinary(std::string_view key, std::string_view defaultBytes) {
  std::string data;
  if (!readWholeFile(binaryValuePath(key), data) || data.empty()) return std::string(defaultBytes);
  return data;
}

// 23
bool ConfigStore::writeBinary(std::string_view key, std::string_view bytes) {
  makeFolder(joinPath(parentFolder(openedPath_), "inibin"));  // a failure shows in the write
  return writeFileExclusive(binaryValuePath(key), bytes);
}

RegistryStore& ConfigStore::registry() {
  if (!registry_) registry_ = std::make_shared<RegistryStore>(RegistryStore::defaultPath());
  return *registry_;
}

void ConfigStore::registryItem(std::string_view key, std::string& keyPath, std::string& name) const {
  std::string full = registryPrefix_ + std::string(key);
  std::size_t cut = lastBackslash(full);
  if (cut == std::string::npos) {
    keyPath.clear();
    name = full;
  } else {
    keyPath = full.substr(0, cut);
    name = full.substr(cut + 1);
  }
}

bool ConfigStore::storeText(std::string_view key, const std::string& stored) {
  if (mode_ == StorageMode::Registry) {
    std::string keyPath, name;
    registryItem(key, keyPath, name);
    return registry().setString(RegistryRoot::ClassesRoot, keyPath, name, stored);
  }
  return setValue(currentSection_, key, stored, false) == kEditDone;
}

std::string ConfigStore::fetchText(std::string_view key, const std::string& defaultStored) {
  if (mode_ == StorageMode::Registry) {
    std::string keyPath, name;
    registryItem(key, keyPath, name);
    std::optional<std::string> text = registry().readString(RegistryRoot::ClassesRoot, keyPath, name);
    return text && !text->empty() ? *text : defaultStored;
  }
  return getValue(currentSection_, key, defaultStored, true);
}

// 24
bool ConfigStore::writeText(std::string_view key, std::string_view text) {
  return storeText(key, escapeLineBreaks(text));
}

// 25
std::string ConfigStore::readText(std::string_view key, std::string_view defaultText) {
  return unescapeLineBreaks(fetchText(key, escapeLineBreaks(defaultText)));
}

// 26
bool ConfigStore::writeNumber(std::string_view key, double value) { return storeText(key, formatNumber(value)); }

// 27
double ConfigStore::readNumber(std::string_view key, double defaultValue) {
  return parseNumber(fetchText(key, formatNumber(defaultValue)));
}

// 28
bool ConfigStore::writeFlag(std::string_view key, bool value) {
  return storeText(key, std::string(formatFlag(value)));
}

// 29
bool ConfigStore::readFlag(std::string_view key, bool defaultValue) {
  return fetchText(key, std::string(formatFlag(defaultValue))) == gbk::kTrue;
}

// 30
bool ConfigStore::readFlagLenient(std::string_view key, bool defaultValue) {
  return fetchText(key, std::string(formatFlag(defaultValue))) != gbk::kFalse;
}

// 31
bool ConfigStore::writeDateTime(std::string_view key, const DateTime& value) {
  return storeText(key, formatDateTime(value));
}

// 32
DateTime ConfigStore::readDateTime(std::string_view key, const DateTime& defaultValue) {
  return parseDateTime(fetchText(key, formatDateTime(defaultValue)));
}

bool ConfigStore::saveCheck(TwoStateControl& control) { return writeFlag(control.caption(), control.checked()); }

bool ConfigStore::restoreCheck(TwoStateControl& control) {
  bool v = readFlag(control.caption(), control.checked());
  control.setChecked(v);
  return control.checked();
}

// 33-38
bool ConfigStore::saveCheckState(CheckBoxControl& control) { return saveCheck(control); }
bool ConfigStore::restoreCheckState(CheckBoxControl& control) { return restoreCheck(control); }
bool ConfigStore::saveCheckState(ToggleButtonControl& control) { return saveCheck(control); }
bool ConfigStore::restoreCheckState(ToggleButtonControl& control) { return restoreCheck(control); }
bool ConfigStore::saveCheckState(RadioButtonControl& control) { return saveCheck(control); }
bool ConfigStore::restoreCheckState(RadioButtonControl& control) { return restoreCheck(control); }

// 39
bool ConfigStore::saveWindowPlacement(PlacedWindow& window, std::string_view name) {
  setSection(concat({name.empty() ? gbk::kMainWindow : name, gbk::kSizeSuffix}));
  const int state = window.stateCode();
  bool ok = writeNumber(gbk::kPlacement, state);
  if (state > 1) return ok;
  const WindowRect r = window.rect();
  ok = writeNumber(gbk::kLeft, r.left) && ok;
  ok = writeNumber(gbk::kTop, r.top) && ok;
  ok = writeNumber(gbk::kWidth, r.width) && ok;
  ok = writeNumber(gbk::kHeight, r.height) && ok;
  return ok;
}

// 40
int ConfigStore::restoreWindowPlacement(PlacedWindow& window, std::string_view name) {
  setSection(concat({name.empty() ? gbk::kMainWindow : name, gbk::kSizeSuffix}));
  window.setStateCode(truncateToInt(readNumber(gbk::kPlacement, window.stateCode())));
  const int state = window.stateCode();
  if (state > 1) return state;
  WindowRect r = window.rect();
  r.left = truncateToInt(readNumber(gbk::kLeft, r.left));
  r.top = truncateToInt(readNumber(gbk::kTop, r.top));
  r.width = truncateToInt(readNumber(gbk::kWidth, r.width));
  r.height = truncateToInt(readNumber(gbk::kHeight, r.height));
  window.move(r);
  return window.stateCode();
}

// 41
std::string ConfigStore::path() const { return openedPath_; }

}  // namespace kx
