// The real services: Qt message boxes, the platform's save dialog and the
// desktop's URL handler.
#pragma once

#include <QString>

#include "app/services.h"

namespace kx::app {

class QtMessageService : public MessageService {
 public:
  void information(QWidget* parent, const QString& title, const QString& text) override;
  void warning(QWidget* parent, const QString& title, const QString& text) override;
};

// The export dialog: filter "文本文件|*.txt|全部文件|*.*", default extension
// "txt". It offers the last chosen path again, as long as the process runs.
class QtSaveFileService : public SaveFileService {
 public:
  QString askSavePath(QWidget* parent) override;

 private:
  QString lastPath_;
};

class QtUrlService : public UrlService {
 public:
  void openUrl(const QString& address) override;
};

// The Qt form of a filter given as "name|pattern|name|pattern...":
// "name (pattern);;name (pattern)". A trailing name without a pattern is dropped.
QString qtFileFilter(const QString& pairs);

}  // namespace kx::app
