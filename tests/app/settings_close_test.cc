// Saving the settings: the save command, the close box, Esc, and a close
// while a long command runs.
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QtTest>

#include "app/keyword_list_model.h"
#include "app_harness.h"
#include "config/config_store.h"
#include "support/test_util.h"
#include "test_registry.h"

namespace kx::app::test {

class SettingsCloseTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void closeAndRestartBringTheChoicesBack() {
    Harness h;
    MainWindow& w = h.start();
    h.find<QComboBox>("组合框词源")->setCurrentIndex(1);
    h.find<QComboBox>("组合框字母索引")->setCurrentIndex(26);
    h.find<QRadioButton>("单选框正则表达式")->click();
    h.find<QLineEdit>("编辑框关键词")->setText(QStringLiteral(u"店$"));
    w.close();
    QVERIFY(h.iniText().find("字母索引=26") != std::string::npos);

    h.start();
    QCOMPARE(h.find<QComboBox>("组合框词源")->currentIndex(), 1);
    QCOMPARE(h.find<QComboBox>("组合框字母索引")->currentIndex(), 26);
    QVERIFY(h.find<QRadioButton>("单选框正则表达式")->isChecked());
    QVERIFY(!h.find<QRadioButton>("单选框匹配左边")->isChecked());
    QCOMPARE(h.find<QLineEdit>("编辑框关键词")->text(), QStringLiteral(u"店$"));
    QCOMPARE(h.title(), QStringLiteral(u"店铺词的 0-9 索引下有 1 个关键词"));
  }

  void firstSaveWritesTheElevenLines() {
    Harness h;
    h.start();
    QTest::mouseClick(h.find<QWidget>("超级链接框保存"), Qt::LeftButton);
    QCOMPARE(h.messages.shown.size(), std::size_t{1});
    QCOMPARE(h.messages.shown[0].title, QStringLiteral(u"信息："));
    QCOMPARE(h.messages.shown[0].text, QStringLiteral(u"保存完毕！"));
    QCOMPARE(h.iniText(),
             std::string("[基本配置]\r\n关键词=阿\r\n正则表达式=假\r\n匹配左边=真\r\n匹配右边=假\r\n匹配中间=假\r\n"
                         "模糊首拼=假\r\n全部输出（不需要输入关键字）=假\r\n通配符 *=假\r\n字母索引=0\r\n词源=0"));
    // The store stays open after a save.
    h.button("按钮开始查找")->click();
    QCOMPARE(h.window().listModel().rowCount(), 3);
  }

  // Another holder of Kestrix.ini keeps this window's writes out of it: the
  // save command says so instead of "保存完毕！".
  void saveThatCannotReachTheFileIsReported() {
    Harness h;
    ConfigStore holder;
    QVERIFY(holder.open(h.path("Kestrix.ini"), StorageMode::DiskFile));
    h.start();
    QTest::mouseClick(h.find<QWidget>("图片框保存"), Qt::LeftButton);
    QVERIFY(!h.messages.shown.empty());
    const ShownMessage& last = h.messages.shown.back();
    QCOMPARE(last.title, QStringLiteral(u"信息："));
    QVERIFY2(last.text.startsWith(QStringLiteral(u"配置未能保存：")), qPrintable(last.text));
    QVERIFY(last.text.contains(h.qpath("Kestrix.ini")));
  }

  void escapeClosesAndSaves() {
    Harness h;
    MainWindow& w = h.start();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    h.find<QLineEdit>("编辑框关键词")->setText(QStringLiteral(u"保温"));
    QTest::keyClick(&w, Qt::Key_Escape);
    QVERIFY(!w.isVisible());
    QVERIFY(h.iniText().find("关键词=保温") != std::string::npos);
  }

  // Closing during a run: the settings are saved, the run stops, and the
  // letter files close only after it has finished with them.
  void closeDuringAListSearch() {
    Harness h;
    MainWindow& w = h.start();
    w.show();
    h.find<QRadioButton>("单选框全部输出")->click();
    h.find<QComboBox>("组合框字母索引")->setCurrentIndex(27);
    bool storeOpenAfterClose = false;
    WhileRunning closer([&] {
      if (w.listModel().keywords().size() < 100) return false;
      w.close();
      storeOpenAfterClose = h.store().letterFile(KeywordCategory::ProductWords, 1) != nullptr;
      return true;
    });
    h.button("按钮开始查找")->click();
    QVERIFY(storeOpenAfterClose);
    QVERIFY(!w.isVisible());
    QVERIFY(w.listModel().rowCount() < 5008);
    QVERIFY(h.store().letterFile(KeywordCategory::ProductWords, 1) == nullptr);
    QVERIFY(h.iniText().find("全部输出（不需要输入关键字）=真") != std::string::npos);
  }

  void closeDuringASearchExportKeepsTheFile() {
    Harness h;
    MainWindow& w = h.start();
    w.show();
    h.find<QRadioButton>("单选框全部输出")->click();
    h.find<QComboBox>("组合框字母索引")->setCurrentIndex(27);
    h.saveFile.answers << h.qpath("closing.txt");
    WhileRunning closer([&] {
      if (h.state.matchCount < 300) return false;
      w.close();
      return true;
    });
    h.button("按钮查找导出")->click();
    QVERIFY(!w.isVisible());
    const std::vector<std::string> lines = exportedLines(h.path("closing.txt"));
    QVERIFY(lines.size() >= 300 && lines.size() < 5008);
    QCOMPARE(lines.size(), static_cast<std::size_t>(h.state.matchCount));
    QVERIFY(h.messages.shown.empty());  // nobody is left to read a completion message
    QVERIFY(h.store().letterFile(KeywordCategory::ProductWords, 1) == nullptr);
  }

  void closeWhileTheDialogIsOpenWritesNothing() {
    Harness h;
    MainWindow& w = h.start();
    w.show();
    h.saveFile.answers << h.qpath("never.txt");
    h.saveFile.whileOpen = [&] { w.close(); };
    h.button("按钮导出保存")->click();
    QVERIFY(!w.isVisible());
    QVERIFY(!QFile::exists(h.qpath("never.txt")));
    QVERIFY(h.iniText().find("[基本配置]") != std::string::npos);
  }
};

KX_REGISTER_TEST_CLASS(SettingsCloseTest);

}  // namespace kx::app::test

#include "settings_close_test.moc"
