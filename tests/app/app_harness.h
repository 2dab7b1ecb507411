// A main window over a small packed store in a temporary folder, with fake
// message, dialog and browser services, for QTest cases on the offscreen
// platform.
#pragma once

#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/services.h"
#include "config/config_store.h"
#include "search/store/keyword_store.h"
#include "search/match/regex/regex_matcher.h"
#include "support/test_util.h"

namespace kx::app::test {

struct ShownMessage {
  QString title;
  QString text;
  QString searchExportCaption;  // 按钮查找导出 while the box was up
};

class FakeMessages : public MessageService {
 public:
  void information(QWidget* parent, const QString& title, const QString& text) override;
  void warning(QWidget* parent, const QString& title, const QString& text) override;
  std::vector<ShownMessage> shown;
};

// Answers the save dialog from a queue; an empty answer is a cancel.
class FakeSaveFile : public SaveFileService {
 public:
  QString askSavePath(QWidget* parent) override;
  QStringList answers;
  std::function<void()> whileOpen;  // runs while the "dialog" is up
  int asked = 0;
};

class FakeUrls : public UrlService {
 public:
  void openUrl(const QString& address) override { opened << address; }
  QStringList opened;
};

// Keywords (UTF-8) of the product words and store words packed by the harness.
std::vector<std::string> productWords();
std::vector<std::string> storeWords();

class Harness {
 public:
  // Packs both categories (and their counts) into a fresh folder.
  Harness();
  ~Harness();

  // Opens Kestrix.ini in the folder and builds a window over it; an earlier
  // window is destroyed first. sliceMs 0 lets events in at every keyword.
  MainWindow& start(int sliceMs = 0);
  // Destroys the window and closes the settings.
  void stop();

  MainWindow& window() { return *window_; }
  template <typename W>
  W* find(const char* formName) const {
    return window_->findChild<W*>(QString::fromUtf8(formName));
  }
  QPushButton* button(const char* formName) const { return find<QPushButton>(formName); }
  QString title() const;  // the list's column title

  std::string runDir() const { return dir_.path(); }
  std::string path(std::string_view name) const { return dir_.file(name); }
  QString qpath(std::string_view name) const { return QString::fromStdString(dir_.file(name)); }
  std::string iniText() const;  // Kestrix.ini, as UTF-8

  FakeMessages messages;
  FakeSaveFile saveFile;
  FakeUrls urls;
  KeywordStore& store() { return *store_; }
  RunState state;

 private:
  kx::test::TempDir dir_;
  std::unique_ptr<ConfigStore> settings_;
  std::unique_ptr<KeywordStore> store_;
  RegexMatcher matcher_;
  std::unique_ptr<MainWindow> window_;
};

// Calls check every time events are processed until it returns true.
class WhileRunning : public QObject {
 public:
  explicit WhileRunning(std::function<bool()> check);

 protected:
  void timerEvent(QTimerEvent* event) override;

 private:
  std::function<bool()> check_;
  int timer_;
};

// Lines of an export file, each ending in CR LF; fails the test otherwise.
std::vector<std::string> exportedLines(const std::string& path);

}  // namespace kx::app::test
