// The application's settings: category, letter, the seven
// match-mode radio buttons and the keyword, in section "基本配置" of
// Kestrix.ini. The main window implements SettingsWindow; saveSettings and
// restoreSettings do the rest, always in the same order.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "config/config_store.h"
#include "config/control_state.h"

namespace kx {

// GBK texts of the settings file.
namespace settings {
inline constexpr std::string_view kSection = "\xBB\xF9\xB1\xBE\xC5\xE4\xD6\xC3";  // 基本配置
inline constexpr std::string_view kCategoryKey = "\xB4\xCA\xD4\xB4";              // 词源
inline constexpr std::string_view kLetterKey = "\xD7\xD6\xC4\xB8\xCB\xF7\xD2\xFD";  // 字母索引
inline constexpr std::string_view kKeywordKey = "\xB9\xD8\xBC\xFC\xB4\xCA";       // 关键词
inline constexpr std::string_view kDefaultKeyword = "\xB0\xA2";                   // 阿

// The seven radio buttons in settings order: form name (UTF-8, the Qt
// objectName), caption (GBK, the settings key) and design state.
struct RadioButtonSetting {
  std::string_view formName;
  std::string_view caption;
  bool designChecked;
};
inline constexpr std::array<RadioButtonSetting, 7> kRadioButtons = {{
    {"单选框通配符", "\xCD\xA8\xC5\xE4\xB7\xFB *", false},  // 通配符 *
    {"单选框全部输出",
     "\xC8\xAB\xB2\xBF\xCA\xE4\xB3\xF6\xA3\xA8\xB2\xBB\xD0\xE8\xD2\xAA\xCA\xE4\xC8\xEB\xB9\xD8\xBC\xFC\xD7\xD6"
     "\xA3\xA9",
     false},                                                      // 全部输出（不需要输入关键字）
    {"单选框模糊首拼", "\xC4\xA3\xBA\xFD\xCA\xD7\xC6\xB4", false},  // 模糊首拼
    {"单选框匹配中间", "\xC6\xA5\xC5\xE4\xD6\xD0\xBC\xE4", false},  // 匹配中间
    {"单选框匹配右边", "\xC6\xA5\xC5\xE4\xD3\xD2\xB1\xDF", false},  // 匹配右边
    {"单选框匹配左边", "\xC6\xA5\xC5\xE4\xD7\xF3\xB1\xDF", true},   // 匹配左边
    {"单选框正则表达式", "\xD5\xFD\xD4\xF2\xB1\xED\xB4\xEF\xCA\xBD", false},  // 正则表达式
}};
}  // namespace settings

// The main window as the settings see it.
//
// Usage (Qt side): the main window holds one implementation over its
// widgets; radioButton(i) returns an adapter for the button
// settings::kRadioButtons[i].formName (see RadioButtonControl). At start-up:
// open the store, fill the letter selector, restoreSettings(store, view),
// then select letter 0 when the letter selector has no selection. At the
// save command and on close: saveSettings(store, view), and tell the user
// when it returns false (store.changesReachFile() says whether it is a
// file problem).
class SettingsWindow {
 public:
  virtual ~SettingsWindow() = default;
  // Selection of 组合框词源: 0 商品词, 1 店铺词; -1 for none.
  virtual int categoryPosition() const = 0;
  virtual void setCategoryPosition(int position) = 0;
  // Selection of 组合框字母索引: 0..27; -1 for none. A position outside the
  // list must leave no selection (no range test is made before).
  virtual int letterPosition() const = 0;
  virtual void setLetterPosition(int position) = 0;
  // The radio button settings::kRadioButtons[index], index 0..6.
  virtual RadioButtonControl& radioButton(int index) = 0;
  // The content of 编辑框关键词, GBK.
  virtual std::string keywordText() const = 0;
  virtual void setKeywordText(const std::string& text) = 0;
};

// Writes every setting, in this order: setSection "基本配置",
// "词源", "字母索引", the seven buttons under their captions, "关键词".
// Returns true when every write reached the document now (not queued, not
// failed); whether the document reaches the file is store.changesReachFile().
bool saveSettings(ConfigStore& store, SettingsWindow& window);

// Reads them back in the same order, each applied at once, every default
// being the control's present value. A stored "词源" other than 0 or 1 is
// applied as 0, so the selector always has a category; "字母索引" is applied without a
// range test; a flag sets its own button only.
void restoreSettings(ConfigStore& store, SettingsWindow& window);

}  // namespace kx
