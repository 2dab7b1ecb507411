// Registry on Windows: the real registry. Key paths, names and string data
// are GBK bytes in the program and UTF-16 in the registry.
#include <windows.h>

#include "platform/registry_store.h"
#include "platform/wide_text.h"

namespace kx {
namespace {

constexpr unsigned kGbk = 936;

HKEY rootKey(RegistryRoot root) {
  switch (root) {
    case RegistryRoot::ClassesRoot: return HKEY_CLASSES_ROOT;
    case RegistryRoot::CurrentUser: return HKEY_CURRENT_USER;
    case RegistryRoot::LocalMachine: return HKEY_LOCAL_MACHINE;
    case RegistryRoot::Users: return HKEY_USERS;
    case RegistryRoot::CurrentConfig: return HKEY_CURRENT_CONFIG;
  }
  return HKEY_CLASSES_ROOT;
}

bool isText(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

class WindowsRegistry final : public Registry {
 public:
  bool setValue(RegistryRoot root, std::string_view keyPath, std::string_view name,
                const RegistryValue& value) override {
    HKEY key = nullptr;
    if (::RegCreateKeyExW(rootKey(root), toWide(keyPath, kGbk).c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                          nullptr, &key, nullptr) != ERROR_SUCCESS) {
      return false;  // no right to write here
    }
    const auto type = static_cast<DWORD>(value.type);
    std::wstring text;
    const BYTE* data = reinterpret_cast<const BYTE*>(value.data.data());
    DWORD size = static_cast<DWORD>(value.data.size());
    if (isText(type)) {
      text = toWide(value.data, kGbk);
      data = reinterpret_cast<const BYTE*>(text.c_str());
      size = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));  // with its NUL
    }
    const LSTATUS rc = ::RegSetValueExW(key, toWide(name, kGbk).c_str(), 0, type, data, size);
    ::RegCloseKey(key);
    return rc == ERROR_SUCCESS;
  }

  std::optional<RegistryValue> value(RegistryRoot root, std::string_view keyPath,
                                     std::string_view name) const override {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(rootKey(root), toWide(keyPath, kGbk).c_str(), 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS) {
      return std::nullopt;
    }
    const std::wstring valueName = toWide(name, kGbk);
    DWORD type = 0, size = 0;
    std::string raw;
    LSTATUS rc = ::RegQueryValueExW(key, valueName.c_str(), nullptr, &type, nullptr, &size);
    while (rc == ERROR_SUCCESS || rc == ERROR_MORE_DATA) {
      raw.resize(size);
      rc = ::RegQueryValueExW(key, valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(raw.data()),
                              &size);
      if (rc == ERROR_SUCCESS) {
        raw.resize(size);
        break;
      }
    }
    ::RegCloseKey(key);
    if (rc != ERROR_SUCCESS) return std::nullopt;
    RegistryValue out;
    out.type = static_cast<RegistryType>(type);
    if (isText(type)) {
      std::wstring_view text(reinterpret_cast<const wchar_t*>(raw.data()), raw.size() / sizeof(wchar_t));
      if (!text.empty() && text.back() == L'\0') text.remove_suffix(1);
      out.data = fromWide(text, kGbk);
    } else {
      out.data = std::move(raw);
    }
    return out;
  }

  bool removeValue(RegistryRoot root, std::string_view keyPath, std::string_view name) override {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(rootKey(root), toWide(keyPath, kGbk).c_str(), 0, KEY_SET_VALUE, &key) !=
        ERROR_SUCCESS) {
      return false;
    }
    const LSTATUS rc = ::RegDeleteValueW(key, toWide(name, kGbk).c_str());
    ::RegCloseKey(key);
    return rc == ERROR_SUCCESS;
  }
};

}  // namespace

std::shared_ptr<Registry> Registry::platformDefault() { return std::make_shared<WindowsRegistry>(); }

}  // namespace kx
