// kestrix: the desktop program. Opens "Kestrix.ini" beside itself, then shows
// the main window over the keyword store found there.
#include <QApplication>
#include <QByteArray>
#include <QFile>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/desktop_services.h"
#include "app/gbk_qt.h"
#include "app/main_window.h"
#include "config/config_store.h"
#include "search/store/keyword_store.h"
#include "search/match/regex/regex_matcher.h"
#include "search/run/search_run.h"

namespace {

// Without a display Qt would stop with a message about plugins; say plainly
// what is missing and how to run the program anyway.
bool reportMissingDisplay(const char* program) {
#if defined(__linux__)
  if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY") ||
      !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
    return false;
  }
  std::fprintf(stderr, "kestrix: no display (DISPLAY is not set); run it under Xvfb instead: xvfb-run -a %s\n",
               program);
  return true;
#else
  (void)program;
  return false;
#endif
}

}  // namespace

int main(int argc, char** argv) {
  if (reportMissingDisplay(argv[0])) return EXIT_FAILURE;
  QApplication app(argc, argv);

  const std::string runDir = kx::app::filePathBytes(QCoreApplication::applicationDirPath());
  kx::ConfigStore settings;
  settings.open(runDir + "/Kestrix.ini", kx::StorageMode::DiskFile);
  kx::KeywordStore store;
  kx::RegexMatcher matcher;
  kx::RunState state;

  kx::app::QtMessageService messages;
  kx::app::QtSaveFileService saveFile;
  kx::app::QtUrlService urls;
  kx::app::MainWindow window({settings, store, matcher, state, runDir, {messages, saveFile, urls}});
  window.show();
  return app.exec();
}
