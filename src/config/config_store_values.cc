// ConfigStore's typed values: text, numbers, flags and dates under the
// current section (in the document or the registry), binary values in files
// beside it, and the saved state of controls and windows.
#include "config/config_store.h"
#include "config/gbk_words.h"
#include "config/text_pieces.h"
#include "config/value_forms.h"
#include "platform/file_util.h"
#include "text/gbk_codec.h"

namespace kx {
namespace {

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

}  // namespace

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

Registry& ConfigStore::registry() {
  if (!registry_) registry_ = Registry::platformDefault();
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
