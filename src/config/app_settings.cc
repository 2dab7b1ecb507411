#include "config/app_settings.h"

namespace kx {

bool saveSettings(ConfigStore& store, SettingsWindow& window) {
  store.setSection(settings::kSection);
  bool ok = store.writeNumber(settings::kCategoryKey, window.categoryPosition());
  ok = store.writeNumber(settings::kLetterKey, window.letterPosition()) && ok;
  for (int i = 0; i < static_cast<int>(settings::kRadioButtons.size()); ++i)
    ok = store.saveCheckState(window.radioButton(i)) && ok;
  ok = store.writeText(settings::kKeywordKey, window.keywordText()) && ok;
  return ok;
}

void restoreSettings(ConfigStore& store, SettingsWindow& window) {
  store.setSection(settings::kSection);
  int category = truncateToInt(store.readNumber(settings::kCategoryKey, window.categoryPosition()));
  window.setCategoryPosition(category == 0 || category == 1 ? category : 0);
  window.setLetterPosition(truncateToInt(store.readNumber(settings::kLetterKey, window.letterPosition())));
  for (int i = 0; i < static_cast<int>(settings::kRadioButtons.size()); ++i)
    store.restoreCheckState(window.radioButton(i));
  window.setKeywordText(store.readText(settings::kKeywordKey, window.keywordText()));
}

}  // namespace kx
