// The registry behind the configuration store's Registry mode: string values
// keyed by (root, key path, value name). `Registry` is the interface; on
// Windows `Registry::platformDefault()` is the real registry, elsewhere
// `RegistryStore`, a stand-in kept in one small file.
//
// The configuration store's Registry mode writes REG_SZ values
// and reads REG_SZ and REG_EXPAND_SZ ones through it; the program itself never
// opens a store in that mode. Key paths and value names are byte strings (GBK
// in practice) compared without regard to ASCII case, as the registry does;
// the spelling first written is kept.
//
// The stand-in's file format (all numbers decimal ASCII), written to a
// temporary file and renamed over the old one so a reader never sees half a
// file:
//   "KXREG 1\n"
//   per value: root " " type " " len(keyPath) " " len(name) " " len(data) "\n"
//              keyPath name data "\n"
// Every operation re-reads the file first, so two objects (or processes) on
// one file see each other's writes; concurrent writers race, the last rename
// wins.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>

namespace kx {

enum class RegistryRoot : int {
  ClassesRoot = 0,  // HKEY_CLASSES_ROOT, the root the configuration store uses
  CurrentUser = 1,
  LocalMachine = 2,
  Users = 3,
  CurrentConfig = 4,
};

// Value types, numbered as the registry numbers them.
enum class RegistryType : std::uint32_t {
  String = 1,        // REG_SZ
  ExpandString = 2,  // REG_EXPAND_SZ
  Binary = 3,        // REG_BINARY
  DWord = 4,         // REG_DWORD
};

struct RegistryValue {
  RegistryType type = RegistryType::String;
  std::string data;  // for the string types: the text without its NUL
};

class Registry {
 public:
  virtual ~Registry() = default;

  // The registry of this platform: the real one on Windows, a RegistryStore
  // on RegistryStore::defaultPath() elsewhere.
  static std::shared_ptr<Registry> platformDefault();

  // Stores a value, creating the key path as needed. Returns false when it
  // cannot be written (no right to write, an unwritable file); the value is
  // then not stored.
  virtual bool setValue(RegistryRoot root, std::string_view keyPath, std::string_view name,
                        const RegistryValue& value) = 0;
  bool setString(RegistryRoot root, std::string_view keyPath, std::string_view name,
                 std::string_view text) {
    return setValue(root, keyPath, name, {RegistryType::String, std::string(text)});
  }

  // The stored value, or nullopt for a missing key path or value name.
  virtual std::optional<RegistryValue> value(RegistryRoot root, std::string_view keyPath,
                                             std::string_view name) const = 0;

  // Removes one value. Returns true when it existed and was removed.
  virtual bool removeValue(RegistryRoot root, std::string_view keyPath, std::string_view name) = 0;

  // The text of a REG_SZ value, or of a REG_EXPAND_SZ value with every
  // %NAME% replaced by the environment variable NAME (left as it is when the
  // variable is unset); nullopt for a missing value or any other type. The
  // text ends at its first NUL.
  std::optional<std::string> readString(RegistryRoot root, std::string_view keyPath,
                                        std::string_view name) const;
};

class RegistryStore final : public Registry {
 public:
  // A store kept in filePath; an empty path keeps it in memory only.
  explicit RegistryStore(std::string filePath);

  // The default file: $XDG_CONFIG_HOME/kestrix/registry.kxr, else
  // $HOME/.config/kestrix/registry.kxr, else "" (memory only).
  static std::string defaultPath();

  bool setValue(RegistryRoot root, std::string_view keyPath, std::string_view name,
                const RegistryValue& value) override;
  std::optional<RegistryValue> value(RegistryRoot root, std::string_view keyPath,
                                     std::string_view name) const override;
  bool removeValue(RegistryRoot root, std::string_view keyPath, std::string_view name) override;

  const std::string& filePath() const { return path_; }

 private:
  using Key = std::tuple<int, std::string, std::string>;  // root, folded path, folded name
  struct Entry {
    std::string keyPath;
    std::string name;
    RegistryValue value;
  };

  void refresh() const;  // re-reads the file when there is one
  bool flush() const;

  const std::string path_;
  mutable std::map<Key, Entry> entries_;
};

}  // namespace kx
