#include "config/config_store.h"

#include <algorithm>
#include <utility>

#include "config/gbk_words.h"
#include "config/text_pieces.h"
#include "platform/file_util.h"
#include "text/gbk_codec.h"

namespace kx {

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

// 11
bool ConfigStore::saveAs(const std::string& path) {
  const std::string& target = path.empty() ? loadedPath_ : path;
  if (target.empty()) return false;
  return writeFileExclusive(target, doc_.bytes());
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

}  // namespace kx
