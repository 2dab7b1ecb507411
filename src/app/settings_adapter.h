// The main window's controls as the settings code sees them: the two
// selectors, the seven radio buttons and the keyword box.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "config/app_settings.h"

class QComboBox;
class QLineEdit;
class QRadioButton;
class QWidget;

namespace kx::app {

class RadioButtonAdapter : public RadioButtonControl {
 public:
  explicit RadioButtonAdapter(QRadioButton* button) : button_(button) {}
  std::string caption() const override;
  bool checked() const override;
  // Sets this button only, leaving the others of its group as they are.
  void setChecked(bool on) override;

 private:
  QRadioButton* button_;
};

class SettingsAdapter : public SettingsWindow {
 public:
  // Finds the controls among window's children by their form names; window
  // must outlive the adapter.
  explicit SettingsAdapter(QWidget& window);

  int categoryPosition() const override;
  void setCategoryPosition(int position) override;
  int letterPosition() const override;
  void setLetterPosition(int position) override;
  RadioButtonControl& radioButton(int index) override;
  std::string keywordText() const override;
  void setKeywordText(const std::string& text) override;

 private:
  QComboBox* category_;
  QComboBox* letter_;
  QLineEdit* keyword_;
  std::array<std::unique_ptr<RadioButtonAdapter>, settings::kRadioButtons.size()> radios_;
};

}  // namespace kx::app
