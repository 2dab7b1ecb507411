// The INI document model: one GBK byte string, searched with
// plain byte searches from its start, changed only by splices that are
// mirrored at the same offset into an open SpliceFile, so that after every
// change the mirror equals the document byte for byte.
//
// Positions are 1-based byte offsets; -1 means "not found".
// Names are raw bytes: the caller keeps section names free of CR LF and "]",
// keys free of CR LF and "=" and not beginning with "[", values free of CR LF
// (the typed accessors of ConfigStore escape them). Names that break these
// rules are not rejected; they give the results the algorithms give.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "config/seams.h"
#include "platform/splice_file.h"

namespace kx {

class IniDocument {
 public:
  IniDocument() = default;
  IniDocument(const IniDocument&) = delete;
  IniDocument& operator=(const IniDocument&) = delete;

  // ---- Content and mirror ----

  const std::string& bytes() const { return doc_; }
  std::int64_t length() const { return static_cast<std::int64_t>(doc_.size()); }

  // Replaces the document without touching the mirror (loading).
  void assign(std::string bytes) { doc_ = std::move(bytes); }
  // Empties the document without touching the mirror (close).
  void clear() { doc_.clear(); }

  // Makes file the mirror; the caller has put the document's bytes into it.
  // nullptr means none.
  void attachMirror(std::unique_ptr<SpliceFile> file);
  // Closes and drops the mirror.
  void closeMirror();
  const SpliceFile* mirror() const { return mirror_.get(); }
  bool mirrorOpen() const { return mirror_ && mirror_->isOpen(); }
  // False after a mirrored splice failed (a full disk, an I/O error) until a
  // later change has rewritten the whole file successfully.
  bool mirrorInSync() const { return inSync_; }
  // Marks the mirror as differing from the document (a reload brought in
  // other bytes): the next change rewrites it whole.
  void markMirrorStale() { inSync_ = false; }

  void setPump(EventPump pump) { pump_ = std::move(pump); }
  void setMessageSink(MessageSink sink) { messages_ = std::move(sink); }
  const EventPump& pump() const { return pump_; }
  const MessageSink& messageSink() const { return messages_; }

  // ---- Searches ----

  // The first occurrence of pattern starting at or after from (0 counts as
  // 1), or -1; a from beyond the end finds nothing.
  std::int64_t find(std::string_view pattern, std::int64_t from) const;

  // Starting the search at from: the position of the "[" of the first
  // "[" + name + "]" that begins a line. With pump, the event pump runs once
  // before every search pass.
  std::int64_t findSection(std::string_view name, std::int64_t from = 0, bool pump = true);

  // The "[" of the first complete header line whose leading CR LF starts
  // at or after from and before before, or -1. Linear in the bytes searched.
  std::int64_t nextSectionStart(std::int64_t from, std::int64_t before) const;

  // The first byte of key's line in the section whose header starts at
  // h, or -1.
  std::int64_t findKey(std::int64_t h, std::string_view section, std::string_view key) const;

  // ---- Operations ----

  // The value of key in section, or defaultText when either is missing
  // (or the value is empty and defaultIfEmpty). The value ends at its first
  // NUL byte.
  std::string getValue(std::string_view section, std::string_view key, std::string_view defaultText,
                       bool defaultIfEmpty);
  // Replaces the value in place; a missing key gets a new line directly
  // under the header, a missing section a new header at the end. 0 done,
  // -1 failed (after the warning through the message sink).
  int setValue(std::string_view section, std::string_view key, std::string_view value);
  // Deletes a key line with the line break before it; an empty key deletes
  // the whole section up to the next header (the line break before a last
  // section's header stays). 0 done, 1 section missing, 2 key missing. Does
  // not pump.
  int deleteEntry(std::string_view section, std::string_view key);
  // Renames the first header of oldName. 0 done, 1 section missing.
  int renameSection(std::string_view oldName, std::string_view newName);
  // Renames a key, keeping its value. 0 done, 1 section missing, 2 key
  // missing.
  int renameKey(std::string_view section, std::string_view oldKey, std::string_view newKey);

  // Removes count bytes at position, inserts bytes there (position
  // length + 1 appends), and does the same in the mirror at byte offset
  // position - 1. Out-of-range arguments change nothing.
  void splice(std::int64_t position, std::int64_t count, std::string_view bytes);

  // The document up to its first NUL byte.
  std::string text() const { return doc_.substr(0, doc_.find('\0')); }

 private:
  void mirrorSplice(std::uint64_t offset, std::uint64_t count, std::string_view bytes);
  void reportWriteFailure();

  std::string doc_;
  std::unique_ptr<SpliceFile> mirror_;
  bool inSync_ = true;
  EventPump pump_;
  MessageSink messages_;
};

}  // namespace kx
