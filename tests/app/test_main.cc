// Runs the window's QTest classes: all of them, or the one named first on the
// command line (the rest of the line goes to QTest).
#include <QApplication>
#include <QtTest>
#include <cstring>

#include "test_registry.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);  // each case closes its windows itself
  const char* only = argc > 1 && argv[1][0] != '-' ? argv[1] : nullptr;
  if (only != nullptr) {
    argv[1] = argv[0];
    ++argv;
    --argc;
  }
  int failed = 0;
  bool ran = false;
  for (const auto& [name, make] : kx::app::test::testClasses()) {
    if (only != nullptr && std::strcmp(only, name) != 0) continue;
    ran = true;
    auto object = make();
    failed += QTest::qExec(object.get(), argc, argv);
  }
  if (!ran) {
    std::fprintf(stderr, "no test class named %s\n", only);
    return 2;
  }
  return failed == 0 ? 0 : 1;
}
