// kx_gui_bench STORE_DIR EXPORT_FILE: drives the real main window offscreen
// over a full-size store and prints what a user waits for: start-up to the
// shown window, a 全部输出 list run over "all" with the peak memory, the jump
// to the last row, picking and copying every row (Ctrl+A, Ctrl+C) with the
// memory that takes, and a search-and-export run into EXPORT_FILE.
#include <fstream>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <cstdio>

#include "app/keyword_list_model.h"
#include "app/main_window.h"
#include "app/result_list_view.h"
#include "config/config_store.h"
#include "search/store/keyword_store.h"
#include "search/match/regex/regex_matcher.h"

namespace {

class QuietMessages : public kx::app::MessageService {
 public:
  void information(QWidget*, const QString&, const QString& text) override { last = text; }
  void warning(QWidget*, const QString&, const QString& text) override { last = text; }
  QString last;
};

class FixedPath : public kx::app::SaveFileService {
 public:
  explicit FixedPath(QString path) : path_(std::move(path)) {}
  QString askSavePath(QWidget*) override { return path_; }

 private:
  QString path_;
};

class NoBrowser : public kx::app::UrlService {
 public:
  void openUrl(const QString&) override {}
};

// The peak resident size of this program's memory (VmHWM). getrusage's
// ru_maxrss would not do: Linux carries it over an exec, so a program started
// by a large process (the benchmark runner) reports that process's size.
double peakRssMib() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;  // kB
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  QElapsedTimer sinceStart;
  sinceStart.start();
  if (argc != 3) {
    std::fprintf(stderr, "usage: kx_gui_bench STORE_DIR EXPORT_FILE\n");
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QTemporaryDir settingsDir;
  kx::ConfigStore settings;
  settings.open(settingsDir.filePath(QStringLiteral("Kestrix.ini")).toStdString(), kx::StorageMode::DiskFile);
  kx::KeywordStore store;
  kx::RegexMatcher matcher;
  kx::RunState state;
  QuietMessages messages;
  FixedPath saveFile(QString::fromLocal8Bit(argv[2]));
  NoBrowser urls;
  kx::app::MainWindow window({settings, store, matcher, state, argv[1], {messages, saveFile, urls}});
  window.show();
  QCoreApplication::processEvents();
  window.grab();  // the first full paint
  std::printf("startup_to_window_s %.3f\n", static_cast<double>(sinceStart.nsecsElapsed()) / 1e9);

  window.findChild<QRadioButton*>(QStringLiteral(u"单选框全部输出"))->click();
  window.findChild<QComboBox*>(QStringLiteral(u"组合框字母索引"))->setCurrentIndex(27);
  QElapsedTimer timer;
  timer.start();
  window.findChild<QPushButton*>(QStringLiteral(u"按钮开始查找"))->click();
  window.grab();
  std::printf("list_all_rows %d\nlist_all_s %.3f\nlist_peak_rss_mib %.0f\n", window.listModel().rowCount(),
              static_cast<double>(timer.nsecsElapsed()) / 1e9, peakRssMib());

  auto* list = window.findChild<kx::app::ResultListView*>(QStringLiteral(u"列表框"));
  timer.start();
  list->scrollToRow(window.listModel().rowCount() - 1);
  window.grab();
  std::printf("scroll_to_last_row_s %.4f\n", static_cast<double>(timer.nsecsElapsed()) / 1e9);
  timer.start();
  for (int step = 0; step < 50; ++step) {
    list->verticalScrollBar()->setValue(list->verticalScrollBar()->maximum() * step / 50);
    window.grab();
  }
  std::printf("scroll_50_pages_s %.4f\n", static_cast<double>(timer.nsecsElapsed()) / 1e9);

  auto press = [list](Qt::Key key) {
    QKeyEvent event(QEvent::KeyPress, key, Qt::ControlModifier);
    QApplication::sendEvent(list, &event);
  };
  timer.start();
  press(Qt::Key_A);
  press(Qt::Key_C);
  std::printf("select_all_copy_s %.3f\ncopied_chars %lld\ncopy_peak_rss_mib %.0f\n",
              static_cast<double>(timer.nsecsElapsed()) / 1e9,
              static_cast<long long>(QGuiApplication::clipboard()->text().size()), peakRssMib());
  QGuiApplication::clipboard()->clear();

  timer.start();
  window.findChild<QPushButton*>(QStringLiteral(u"按钮查找导出"))->click();
  std::printf("search_export_all_s %.3f\nsearch_export_matches %d\n", static_cast<double>(timer.nsecsElapsed()) / 1e9,
              state.matchCount);
  std::printf("search_export_message %s\n", messages.last.toUtf8().constData());
  window.close();
  return 0;
}
