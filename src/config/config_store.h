// ConfigStore, the configuration object: an INI document (IniDocument)
// loaded from one file and mirrored into it, a queue that serialises
// re-entrant edits, typed accessors on a current section, binary value files,
// a registry-backed mode, and the control-state operations.
//
// Texts (sections, keys, values, defaults) are GBK byte strings. Paths are
// UTF-8 file names with the platform's separator. Never includes Qt.
//
// Single-threaded: every operation runs on the user-interface thread. The
// operations that search (getValue, setValue, renameSection, renameKey, the
// typed accessors built on them and the listing operations) run the injected
// event pump once per search pass; an event handler run from it may call the
// object again. Edits requested while one runs wait in the queue (result 3,
// or false from a typed writer) and run in request order before the running
// drain returns. Reads are never queued.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "config/control_state.h"
#include "config/ini_document.h"
#include "config/seams.h"
#include "config/value_forms.h"
#include "platform/registry_store.h"

namespace kx {

enum class StorageMode : std::int32_t {
  DiskFile = 0,    // the file on disk is the mirror, held open and locked
  MemoryFile = 1,  // an in-memory mirror; the disk changes only by saveAs
  Registry = 2,    // typed accessors use the registry (substitute); nothing is loaded
};

enum class EditKind : std::int32_t { SetValue = 0, DeleteEntry = 1, RenameSection = 2, RenameKey = 3 };

// One queued edit with copies of its arguments, in this order:
// SetValue (section, key, value), DeleteEntry (section, key), RenameSection
// (old, new), RenameKey (section, old, new).
struct PendingEdit {
  EditKind kind = EditKind::SetValue;
  std::vector<std::string> args;
};

// Result codes of the edit operations.
inline constexpr int kEditDone = 0;
inline constexpr int kEditSectionMissing = 1;
inline constexpr int kEditKeyMissing = 2;
inline constexpr int kEditQueued = 3;
inline constexpr int kEditFailed = -1;

class ConfigStore {
 public:
  // Empty document, no mirror, empty texts, not busy, empty queue, DiskFile.
  ConfigStore();
  ConfigStore(const ConfigStore&) = delete;
  ConfigStore& operator=(const ConfigStore&) = delete;

  // ---- The 42 operations, in their fixed virtual-table order ----

  // 0. close, then release the document, the texts and every pending edit;
  // the object is as new afterwards (its pump, message sink and registry
  // stay). The destructor does the same.
  virtual void destroy();

  // 1. A new object with copies of the document, all texts, busy, the queue,
  // the mode, the pump, the message sink and the registry. Mirror rule: a
  // MemoryFile mirror is copied with the document; a disk mirror is not
  // shared (two objects splicing one file would tear it), so the clone of a
  // DiskFile store has none and its changes reach no file.
  virtual std::unique_ptr<ConfigStore> clone() const;

  // 2. Closes the mirror (it becomes none) and empties the document; the
  // queue and the texts stay.
  virtual void close();

  // 3. close; loadedPath := path; reads the whole file into the document
  // (empty when it cannot be read); then opens the mirror: an in-memory copy
  // (inMemory) or the disk file itself, created when missing, never
  // truncated, locked against other writers. True when a mirror is open.
  virtual bool load(const std::string& path, bool inMemory);

  // 4. Reads the file at loadedPath into the document again; the mirror is
  // not touched. True when the whole file was read; otherwise the document
  // is unchanged.
  virtual bool reload();

  // 5. Runs the queued edits in order. Returns the first one's result, or -1
  // when the queue is empty. A call made while a drain runs (from an event
  // handler) returns 3 and leaves the edits to the running drain.
  virtual int drainEdits();

  // 6. immediate: IniDocument::setValue (0, -1). Otherwise queued: 3 while busy, else
  // the result of drainEdits, which runs this edit first.
  virtual int setValue(std::string_view section, std::string_view key, std::string_view value,
                       bool immediate = false);

  // 7. IniDocument::getValue; never queued.
  virtual std::string getValue(std::string_view section, std::string_view key,
                               std::string_view defaultText, bool defaultIfEmpty);

  // 8. IniDocument::nextSectionStart.
  virtual std::int64_t nextSectionStart(std::int64_t from, std::int64_t before);

  // 9. The sections that hold a key line for key, in document order, once
  // per run of occurrences in one section. Returns the count.
  virtual int sectionsWithKey(std::string_view key, std::vector<std::string>& out);

  // 10. The keys whose stored value begins with value (an empty value: key
  // lines with an empty value that are not the last line); with a non-empty
  // section only hits whose nearest complete header above is that section.
  virtual int keysWithValue(std::string_view value, std::vector<std::string>& out,
                            std::string_view section);

  // 11. Writes the whole document to path (to loadedPath when empty),
  // creating or replacing it with exclusive access. True on success. A file
  // held by a DiskFile store (this one's own included) is locked and fails.
  virtual bool saveAs(const std::string& path);

  // 12. The section names of the header lines of the mirror, filtered by
  // include/exclude substrings. Returns the count (0 without a mirror).
  virtual int listSections(std::vector<std::string>& out, std::string_view include,
                           std::string_view exclude);

  // 13. The key names of the mirror's lines, filtered by include/exclude;
  // with a non-empty sectionGiven only those of the first header that passes
  // headerInclude/headerExclude (keys above that header are not listed).
  virtual int listKeys(std::vector<std::string>& out, std::string_view include,
                       std::string_view exclude, std::string_view sectionGiven,
                       std::string_view headerInclude, std::string_view headerExclude);

  // 14. immediate: IniDocument::deleteEntry (0, 1, 2). Otherwise queued as setValue.
  virtual int deleteEntry(std::string_view section, std::string_view key, bool immediate = false);

  // 15. immediate: IniDocument::renameSection (0, 1). Otherwise queued.
  virtual int renameSection(std::string_view oldName, std::string_view newName,
                            bool immediate = false);

  // 16. immediate: IniDocument::renameKey (0, 1, 2). Otherwise queued.
  virtual int renameKey(std::string_view section, std::string_view oldKey, std::string_view newKey,
                        bool immediate = false);

  // 17. The document up to its first NUL byte.
  virtual std::string getText() const;

  // 18. Not append: empties the document and the mirror first. Then appends
  // text to both. Not queued.
  virtual void setText(std::string_view text, bool append);

  // 19. The unnamed operation; does nothing (it keeps the table's order).
  virtual void unnamedSlot19();

  // 20. openedPath := path; mode := mode. Registry: true, nothing read or
  // opened. Otherwise load(path, mode == MemoryFile).
  virtual bool open(const std::string& path, StorageMode mode);

  // 21. currentSection := name; registryPrefix rebuilt.
  virtual void setSection(std::string_view name);

  // 22. The bytes of the binary value file, or the default when it is
  // missing or empty.
  virtual std::string readBinary(std::string_view key, std::string_view defaultBytes);

  // 23. Creates the inibin folder (one level) and writes the file. True when
  // written.
  virtual bool writeBinary(std::string_view key, std::string_view bytes);

  // 24-32. Typed accessors on (currentSection, key); writers return true
  // only when the write was done now (not queued, not failed); readers
  // return the default for a missing key or an empty value.
  virtual bool writeText(std::string_view key, std::string_view text);
  virtual std::string readText(std::string_view key, std::string_view defaultText);
  virtual bool writeNumber(std::string_view key, double value);
  virtual double readNumber(std::string_view key, double defaultValue);
  virtual bool writeFlag(std::string_view key, bool value);
  virtual bool readFlag(std::string_view key, bool defaultValue);
  virtual bool readFlagLenient(std::string_view key, bool defaultValue);
  virtual bool writeDateTime(std::string_view key, const DateTime& value);
  virtual DateTime readDateTime(std::string_view key, const DateTime& defaultValue);

  // 33-38. Save writes the checked state under the caption and
  // returns the writer's result; restore sets the control to the stored flag
  // (its present state when nothing is stored) and returns the state read
  // back from the control.
  virtual bool saveCheckState(CheckBoxControl& control);
  virtual bool restoreCheckState(CheckBoxControl& control);
  virtual bool saveCheckState(ToggleButtonControl& control);
  virtual bool restoreCheckState(ToggleButtonControl& control);
  virtual bool saveCheckState(RadioButtonControl& control);
  virtual bool restoreCheckState(RadioButtonControl& control);

  // 39. Section (name or "主界面") + ".尺寸"; "位置", and for state codes up
  // to 1 "左边", "顶边", "宽度", "高度". True when every write was done.
  virtual bool saveWindowPlacement(PlacedWindow& window, std::string_view name);

  // 40. The reverse; returns the window's state code afterwards.
  virtual int restoreWindowPlacement(PlacedWindow& window, std::string_view name);

  // 41. A copy of openedPath.
  virtual std::string path() const;

  virtual ~ConfigStore();

  // ---- Seams and state, outside the table ----

  void setEventPump(EventPump pump) { doc_.setPump(std::move(pump)); }
  void setMessageSink(MessageSink sink) { doc_.setMessageSink(std::move(sink)); }
  // The registry of Registry mode; by default Registry::platformDefault(),
  // made at first use.
  void setRegistry(std::shared_ptr<Registry> registry) { registry_ = std::move(registry); }

  // Whether changes reach a file: true while a mirror is open and in sync.
  // False for a file that could not be opened for writing (read-only file or
  // folder, another instance holding it), after a failed write until the
  // next change rewrote it, in Registry mode without a mirror, and for the
  // clone of a DiskFile store. In MemoryFile mode "a file" is the in-memory
  // one; the disk changes only by saveAs. The window uses this to tell the
  // user that settings could not be saved.
  bool changesReachFile() const { return doc_.mirrorOpen() && doc_.mirrorInSync(); }
  bool mirrorOpen() const { return doc_.mirrorOpen(); }

  const std::string& document() const { return doc_.bytes(); }
  bool busy() const { return busy_; }
  std::size_t pendingEditCount() const { return pendingEdits_.size(); }
  const std::deque<PendingEdit>& pendingEdits() const { return pendingEdits_; }
  const std::string& currentSection() const { return currentSection_; }
  StorageMode mode() const { return mode_; }
  const std::string& loadedPath() const { return loadedPath_; }
  const std::string& openedPath() const { return openedPath_; }
  const std::string& registryPrefix() const { return registryPrefix_; }

  // The file of a binary value: folder of openedPath + "/inibin/" +
  // currentSection + "-" + key + ".ibn" (section and key turned into UTF-8).
  // With no folder in openedPath it lies at the root: "/inibin/...".
  std::string binaryValuePath(std::string_view key) const;

 private:
  int enqueue(EditKind kind, std::vector<std::string> args);
  int runEdit(const PendingEdit& edit);
  bool storeText(std::string_view key, const std::string& stored);
  std::string fetchText(std::string_view key, const std::string& defaultStored);
  bool saveCheck(TwoStateControl& control);
  bool restoreCheck(TwoStateControl& control);
  Registry& registry();
  void registryItem(std::string_view key, std::string& keyPath, std::string& name) const;
  // Reads the mirror line by line (the listing rules), pumping per line.
  template <typename OnLine>
  void forEachMirrorLine(OnLine onLine);

  // Fields in their documented order (document and mirror live in doc_).
  IniDocument doc_;
  std::string loadedPath_;
  bool busy_ = false;
  std::deque<PendingEdit> pendingEdits_;
  std::string openedPath_;
  std::string currentSection_;
  StorageMode mode_ = StorageMode::DiskFile;
  std::string registryPrefix_;

  int drainDepth_ = 0;          // drains running in this object (busy_ may be a copy)
  std::uint64_t queueEpoch_ = 0;  // bumped when destroy releases the queue
  std::shared_ptr<Registry> registry_;
};

}  // namespace kx
