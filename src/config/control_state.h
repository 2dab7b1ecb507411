// The two small views of user-interface objects that the control-state
// operations of ConfigStore (operations 33 to 40) work on. The Qt window
// implements them over its widgets; tests implement them over plain fields.
// Texts are GBK.
#pragma once

#include <string>

namespace kx {

// A control with a caption and a checked state: a check box, a toggle
// button, a radio button. Its caption is its settings key.
//
// Usage (Qt side): wrap the widget, e.g.
//   class RadioAdapter : public kx::RadioButtonControl {
//     QRadioButton* b_;
//     std::string caption() const override { return toGbk(b_->text()); }
//     bool checked() const override { return b_->isChecked(); }
//     void setChecked(bool on) override { b_->setChecked(on); }
//   };
// setChecked must set this control only (turn off autoExclusive while
// restoring, or group behaviour unchecks the others; several stored "真"
// flags must show several checked buttons).
class TwoStateControl {
 public:
  virtual ~TwoStateControl() = default;
  virtual std::string caption() const = 0;  // exactly as shown, GBK
  virtual bool checked() const = 0;
  virtual void setChecked(bool on) = 0;
};

// The three control kinds of the three saveCheckState/restoreCheckState
// pairs. They add nothing: the kind only selects the overload (33/34,
// 35/36, 37/38), and all three pairs behave alike. The program uses the radio
// button pair only.
class CheckBoxControl : public TwoStateControl {};
class ToggleButtonControl : public TwoStateControl {};
class RadioButtonControl : public TwoStateControl {};

struct WindowRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const WindowRect&, const WindowRect&) = default;
};

// Placement state codes. Codes greater than 1 are states in which the window
// does not show its normal rectangle; for them the rectangle is neither
// stored nor restored.
inline constexpr int kWindowNormal = 0;
inline constexpr int kWindowCentred = 1;  // normal rectangle, placed by the program
inline constexpr int kWindowMinimised = 2;
inline constexpr int kWindowMaximised = 3;

// A top-level window, as saveWindowPlacement/restoreWindowPlacement see it.
//
// Usage (Qt side): rect() from QWidget::geometry() (or frameGeometry, in the
// units move() takes); stateCode() 3 for isMaximized(), 2 for isMinimized(),
// else 0; setStateCode() shows the window in that state; move() calls
// setGeometry.
class PlacedWindow {
 public:
  virtual ~PlacedWindow() = default;
  virtual WindowRect rect() const = 0;
  virtual int stateCode() const = 0;
  virtual void setStateCode(int code) = 0;
  virtual void move(const WindowRect& r) = 0;
};

}  // namespace kx
