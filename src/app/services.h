// The window's ways out to the user and the desktop: message boxes, the
// save-file dialog and the browser. Tests hand the window their own.
#pragma once

#include <QString>

class QWidget;

namespace kx::app {

class MessageService {
 public:
  virtual ~MessageService() = default;

  // Shows text in a modal box titled title with one OK button and returns
  // when it is dismissed.
  virtual void information(QWidget* parent, const QString& title, const QString& text) = 0;

  // The same with a warning sign.
  virtual void warning(QWidget* parent, const QString& title, const QString& text) = 0;
};

class SaveFileService {
 public:
  virtual ~SaveFileService() = default;

  // Asks for the file to save into. Returns the full path, or an empty text
  // when the user cancels.
  virtual QString askSavePath(QWidget* parent) = 0;
};

class UrlService {
 public:
  virtual ~UrlService() = default;

  // Hands address to the desktop's browser. Nothing is reported when no
  // browser opens.
  virtual void openUrl(const QString& address) = 0;
};

// The three services the main window uses; each must outlive the window.
struct Services {
  MessageService& messages;
  SaveFileService& saveFile;
  UrlService& urls;
};

}  // namespace kx::app
