#include "platform/registry_store.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

#include "platform/file_util.h"

namespace kx {
namespace {

constexpr std::string_view kMagic = "KXREG 1\n";

std::string fold(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

// Reads a decimal number followed by the terminator t at pos.
bool readNumber(std::string_view s, std::size_t& pos, char t, std::uint64_t& out) {
  std::uint64_t v = 0;
  std::size_t start = pos;
  while (pos < s.size() && s[pos] >= '0' && s[pos] <= '9') {
    if (v > (UINT64_MAX - 9) / 10) return false;
    v = v * 10 + static_cast<std::uint64_t>(s[pos] - '0');
    ++pos;
  }
  if (pos == start || pos >= s.size() || s[pos] != t) return false;
  ++pos;
  out = v;
  return true;
}

}  // namespace

RegistryStore::RegistryStore(std::string filePath) : path_(std::move(filePath)) {}

#ifndef _WIN32
std::shared_ptr<Registry> Registry::platformDefault() {
  return std::make_shared<RegistryStore>(RegistryStore::defaultPath());
}
#endif

std::string RegistryStore::defaultPath() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  std::string base;
  if (xdg && *xdg) {
    base = xdg;
  } else if (const char* home = std::getenv("HOME"); home && *home) {
    base = joinPath(home, ".config");
  } else {
    return {};
  }
  return joinPath(joinPath(base, "kestrix"), "registry.kxr");
}

void RegistryStore::refresh() const {
  if (path_.empty()) return;
  std::string text;
  if (!readWholeFile(path_, text)) {
    entries_.clear();
    return;
  }
  std::map<Key, Entry> fresh;
  std::string_view s(text);
  if (s.substr(0, kMagic.size()) == kMagic) {
    std::size_t pos = kMagic.size();
    while (pos < s.size()) {
      std::uint64_t root = 0, type = 0, lp = 0, ln = 0, ld = 0;
      if (!readNumber(s, pos, ' ', root) || !readNumber(s, pos, ' ', type) ||
          !readNumber(s, pos, ' ', lp) || !readNumber(s, pos, ' ', ln) ||
          !readNumber(s, pos, '\n', ld))
        break;
      std::uint64_t need = lp + ln + ld + 1;
      if (lp > s.size() || ln > s.size() || ld > s.size() || need > s.size() - pos) break;
      Entry e;
      e.keyPath = std::string(s.substr(pos, lp));
      e.name = std::string(s.substr(pos + lp, ln));
      e.value.type = static_cast<RegistryType>(type);
      e.value.data = std::string(s.substr(pos + lp + ln, ld));
      pos += need;
      Key k{static_cast<int>(root), fold(e.keyPath), fold(e.name)};
      fresh[k] = std::move(e);
    }
  }
  entries_ = std::move(fresh);
}

bool RegistryStore::flush() const {
  if (path_.empty()) return true;
  std::string text(kMagic);
  for (const auto& [key, e] : entries_) {
    char head[128];
    std::snprintf(head, sizeof head, "%d %u %zu %zu %zu\n", std::get<0>(key),
                  static_cast<unsigned>(e.value.type), e.keyPath.size(), e.name.size(),
                  e.value.data.size());
    text += head;
    text += e.keyPath;
    text += e.name;
    text += e.value.data;
    text += '\n';
  }
  std::string folder(parentFolder(path_));
  if (!folder.empty() && !isFolder(folder)) {
    // One level for the program's own folder under the config base.
    makeFolder(std::string(parentFolder(folder)));
    makeFolder(folder);
  }
  return writeFileExclusive(path_, text);
}

bool RegistryStore::setValue(RegistryRoot root, std::string_view keyPath, std::string_view name,
                             const RegistryValue& value) {
  refresh();
  Key k{static_cast<int>(root), fold(keyPath), fold(name)};
  auto saved = entries_;
  auto it = entries_.find(k);
  if (it == entries_.end()) {
    entries_.emplace(k, Entry{std::string(keyPath), std::string(name), value});
  } else {
    it->second.value = value;
  }
  if (!flush()) {
    entries_ = std::move(saved);
    return false;
  }
  return true;
}

std::optional<RegistryValue> RegistryStore::value(RegistryRoot root, std::string_view keyPath,
                                                  std::string_view name) const {
  refresh();
  auto it = entries_.find(Key{static_cast<int>(root), fold(keyPath), fold(name)});
  if (it == entries_.end()) return std::nullopt;
  return it->second.value;
}

bool RegistryStore::removeValue(RegistryRoot root, std::string_view keyPath,
                                std::string_view name) {
  refresh();
  auto it = entries_.find(Key{static_cast<int>(root), fold(keyPath), fold(name)});
  if (it == entries_.end()) return false;
  auto saved = entries_;
  entries_.erase(it);
  if (!flush()) {
    entries_ = std::move(saved);
    return false;
  }
  return true;
}

std::optional<std::string> Registry::readString(RegistryRoot root, std::string_view keyPath,
                                                     std::string_view name) const {
  auto v = value(root, keyPath, name);
  if (!v) return std::nullopt;
  if (v->type != RegistryType::String && v->type != RegistryType::ExpandString) return std::nullopt;
  std::string text = v->data.substr(0, v->data.find('\0'));
  if (v->type == RegistryType::String) return text;
  std::string out;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t a = text.find('%', pos);
    std::size_t b = a == std::string::npos ? a : text.find('%', a + 1);
    if (b == std::string::npos) {
      out.append(text, pos, std::string::npos);
      break;
    }
    out.append(text, pos, a - pos);
    std::string var = text.substr(a + 1, b - a - 1);
    const char* env = var.empty() ? nullptr : std::getenv(var.c_str());
    if (env) {
      out += env;
      pos = b + 1;
    } else {
      out.append(text, a, b - a + 1);  // an unset variable stays as written
      pos = b + 1;
    }
  }
  return out;
}

}  // namespace kx
