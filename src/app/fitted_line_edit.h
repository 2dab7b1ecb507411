// A single-line edit box that places its text by the rows its letters ink,
// not by the font's line box. A CJK fallback font can have a line box taller
// than the box (ascent + descent 34 pixels in 31 at 29 pixels), while its
// ideographs and descenders together still fit; centring the line box would
// cut the descenders off.
#pragma once

#include <QLineEdit>

namespace kx::app {

class FittedLineEdit : public QLineEdit {
  Q_OBJECT

 public:
  using QLineEdit::QLineEdit;

 protected:
  void changeEvent(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // Centres the ink of ideographs, capitals and descenders between the top
  // and bottom of the frame's inside.
  void fitText();
};

}  // namespace kx::app
