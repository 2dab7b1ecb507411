// The program's text dialog in its viewing form: a prompt line, a read-only
// body and one close button, kept on top and modal. At most one is open.
#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace kx::app {

// What the next dialog shows; filled by showTextDialog before it opens one.
struct TextDialogRequest {
  QString prompt;
  QString title;
  QString body;
};

class TextDialog : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kMargin = 5;
  static constexpr int kBarHeight = 34;  // room of the editing bar under the body
  static constexpr int kButtonWidth = 64;
  static constexpr int kButtonHeight = 24;

  // Builds the dialog from request; it is centred and its body has the focus.
  explicit TextDialog(const TextDialogRequest& request, QWidget* parent = nullptr);
  ~TextDialog() override;

  // True while a TextDialog exists.
  static bool isOpen();

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void layoutControls();

  QLabel* prompt_;
  QPlainTextEdit* body_;
  QPushButton* close_;
  QString promptText_;
};

// Height of the prompt box for a client width: 12 pixels for every row the
// prompt needs, at 6 pixels per byte of GBK text, each CR LF starting a line.
int promptHeight(const QString& prompt, int clientWidth);

// Shows body read-only and returns when the dialog closes. Returns at once,
// showing nothing, while another text dialog is open. An empty title shows as
// "Lumsa：".
void showTextDialog(const QString& body, const QString& prompt, const QString& title, QWidget* parent = nullptr);

}  // namespace kx::app
