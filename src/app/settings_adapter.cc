#include "app/settings_adapter.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QWidget>

#include "app/gbk_qt.h"

namespace kx::app {
namespace {

template <typename W>
W* child(QWidget& window, std::string_view formName) {
  W* widget = window.findChild<W*>(QString::fromUtf8(formName.data(), static_cast<qsizetype>(formName.size())));
  Q_ASSERT(widget != nullptr);
  return widget;
}

}  // namespace

std::string RadioButtonAdapter::caption() const { return qStringToGbk(button_->text()); }

bool RadioButtonAdapter::checked() const { return button_->isChecked(); }

// Exclusivity is off for the moment only, so that the button's neighbours keep
// their own restored flags; the keyboard and the mouse get it back.
void RadioButtonAdapter::setChecked(bool on) {
  button_->setAutoExclusive(false);
  button_->setChecked(on);
  button_->setAutoExclusive(true);
}

SettingsAdapter::SettingsAdapter(QWidget& window)
    : category_(child<QComboBox>(window, "组合框词源")),
      letter_(child<QComboBox>(window, "组合框字母索引")),
      keyword_(child<QLineEdit>(window, "编辑框关键词")) {
  for (std::size_t i = 0; i < radios_.size(); ++i) {
    radios_[i] = std::make_unique<RadioButtonAdapter>(child<QRadioButton>(window, settings::kRadioButtons[i].formName));
  }
}

int SettingsAdapter::categoryPosition() const { return category_->currentIndex(); }

void SettingsAdapter::setCategoryPosition(int position) { category_->setCurrentIndex(position); }

int SettingsAdapter::letterPosition() const { return letter_->currentIndex(); }

// QComboBox leaves no selection for a position outside its entries.
void SettingsAdapter::setLetterPosition(int position) { letter_->setCurrentIndex(position); }

RadioButtonControl& SettingsAdapter::radioButton(int index) { return *radios_[static_cast<std::size_t>(index)]; }

std::string SettingsAdapter::keywordText() const { return qStringToGbk(keyword_->text()); }

void SettingsAdapter::setKeywordText(const std::string& text) { keyword_->setText(gbkToQString(text)); }

}  // namespace kx::app
