// A stand-in for the Windows registry on systems that have none: string
// values keyed by (root, key path, value name), kept in one small file.
//
// The configuration store's Registry mode writes REG_SZ values
// and reads REG_SZ and REG_EXPAND_SZ ones through it; the program itself never
// opens a store in that mode. Key paths and value names are byte strings (GBK
// in practice) compared without regard to ASCII case, as the registry does;
// the spelling first written is kept.
//
// File format (all numbers decimal ASCII), written to a temporary file and
// renamed over the old one so a reader never sees half a file:
//   "KXREG 1\n"
//   per value: root " " type " " len(keyPath) " " len(name) " " len(data) "\n"
//              keyPath name data "\n"
// Every operation re-reads the file first, so two objects (or processes) on
// one file see each other's writes; concurrent writers race, the last rename
// wins.
#pragma once

#include <cstdint>
#include <map>
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

class RegistryStore {
 public:
  // A store kept in filePath; an empty path keeps it in memory only.
  explicit RegistryStore(std::string filePath);

  // The default file: $XDG_CONFIG_HOME/kestrix/registry.kxr, else
  // $HOME/.config/kestrix/registry.kxr, else "" (memory only).
  static std::string defaultPath();

  // Stores a value, creating the key path as needed. Returns false when the
  // file cannot be written (the value is then not stored).
  bool setValue(RegistryRoot root, std::string_view keyPath, std::string_view name,
                const RegistryValue& value);
  bool setString(RegistryRoot root, std::string_view keyPath, std::string_view name,
                 std::string_view text) {
    return setValue(root, keyPath, name, {RegistryType::String, std::string(text)});
  }

  // The stored value, or nullopt for a missing key path or value name.
  std::optional<RegistryValue> value(RegistryRoot root, std::string_view keyPath,
                                     std::string_view name) const;

  // Removes one value. Returns true when it existed and the file was written.
  bool removeValue(RegistryRoot root, std::string_view keyPath, std::string_view name);

  // The text of a REG_SZ value, or of a REG_EXPAND_SZ value with every
  // %NAME% replaced by the environment variable NAME (left as it is when the
  // variable is unset); nullopt for a missing value or any other type. The
  // text ends at its first NUL.
  std::optional<std::string> readString(RegistryRoot root, std::string_view keyPath,
                                        std::string_view name) const;

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
