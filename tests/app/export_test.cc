// 导出保存 and 开始查找并导出保存: the files they write, what they report, and
// the button states around the dialog.
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QtTest>

#include "app/keyword_list_model.h"
#include "app_harness.h"
#include "support/test_util.h"
#include "test_registry.h"

namespace kx::app::test {

using kx::test::gbk;

class ExportTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void listExportWritesTheRowsByteForByte() {
    Harness h;
    h.start();
    h.button("按钮开始查找")->click();  // the three 阿 words
    const std::string path = h.path("out.txt");
    kx::test::writeFile(path, std::string(1000, 'x'));  // older, longer content must go
    h.saveFile.answers << h.qpath("out.txt");
    h.button("按钮导出保存")->click();
    QCOMPARE(kx::test::readFile(path), gbk(u8"阿迪达斯 男式鞋\r\n阿迪 运动服\r\n阿玛尼 手表\r\n"));
    QCOMPARE(h.messages.shown.size(), std::size_t{1});
    QCOMPARE(h.messages.shown[0].title, QStringLiteral(u"信息："));
    QCOMPARE(h.messages.shown[0].text, QStringLiteral(u"导出完毕：") + h.qpath("out.txt"));
    QCOMPARE(h.button("按钮导出保存")->text(), QStringLiteral(u"导出保存"));
  }

  void emptyListExportsAnEmptyFile() {
    Harness h;
    h.start();
    h.saveFile.answers << h.qpath("empty.txt");
    h.button("按钮导出保存")->click();
    QCOMPARE(kx::test::readFile(h.path("empty.txt")), std::string());
    QCOMPARE(h.messages.shown.size(), std::size_t{1});
  }

  // The dialog phase already counts as running; a cancel returns every
  // button to idle without a file or a message.
  void cancelledDialogsLeaveEverythingIdle() {
    Harness h;
    h.start();
    QString listCaption, searchExportCaption;
    bool searchDisabledDuringList = false, searchDisabledDuringSearchExport = false;
    h.saveFile.whileOpen = [&] {
      if (h.saveFile.asked == 1) {
        listCaption = h.button("按钮导出保存")->text();
        searchDisabledDuringList = !h.button("按钮开始查找")->isEnabled() && !h.button("按钮查找导出")->isEnabled();
      } else {
        searchExportCaption = h.button("按钮查找导出")->text();
        searchDisabledDuringSearchExport =
            !h.button("按钮开始查找")->isEnabled() && !h.button("按钮导出保存")->isEnabled();
      }
    };
    h.button("按钮导出保存")->click();
    h.button("按钮查找导出")->click();
    QCOMPARE(listCaption, QStringLiteral(u"停止导出"));
    QCOMPARE(searchExportCaption, QStringLiteral(u"停止查找导出"));
    QVERIFY(searchDisabledDuringList);
    QVERIFY(searchDisabledDuringSearchExport);
    for (const char* name : {"按钮开始查找", "按钮导出保存", "按钮查找导出"}) QVERIFY(h.button(name)->isEnabled());
    QCOMPARE(h.button("按钮导出保存")->text(), QStringLiteral(u"导出保存"));
    QCOMPARE(h.button("按钮查找导出")->text(), QStringLiteral(u"开始查找并导出保存"));
    QVERIFY(h.messages.shown.empty());
  }

  void searchExportWritesEveryMatchAndLeavesTheListEmpty() {
    Harness h;
    MainWindow& w = h.start();
    h.button("按钮开始查找")->click();  // rows that the export run must clear
    h.find<QComboBox>("组合框词源")->setCurrentIndex(1);
    h.find<QComboBox>("组合框字母索引")->setCurrentIndex(27);
    h.find<QRadioButton>("单选框全部输出")->click();
    const QString titleBefore = h.title();
    h.saveFile.answers << h.qpath("store.txt");
    h.button("按钮查找导出")->click();
    const std::vector<std::string> lines = exportedLines(h.path("store.txt"));
    QCOMPARE(lines.size(), std::size_t{4});
    QCOMPARE(lines[0], gbk(u8"安踏旗舰店"));
    QCOMPARE(lines[3], gbk(u8"7 号店"));
    QCOMPARE(w.listModel().rowCount(), 0);
    QCOMPARE(h.title(), titleBefore);
    QCOMPARE(h.messages.shown.size(), std::size_t{1});
    QCOMPARE(h.messages.shown[0].text, QStringLiteral(u"查找并导出完毕：") + h.qpath("store.txt"));
    // The count stays on the button while the message is up.
    QCOMPARE(h.messages.shown[0].searchExportCaption, QStringLiteral(u"已导出..4"));
    QCOMPARE(h.button("按钮查找导出")->text(), QStringLiteral(u"开始查找并导出保存"));
  }

  void stopDuringSearchExportKeepsWhatWasFound() {
    Harness h;
    h.start();
    h.find<QRadioButton>("单选框全部输出")->click();
    h.find<QComboBox>("组合框字母索引")->setCurrentIndex(27);
    h.saveFile.answers << h.qpath("part.txt");
    WhileRunning stopper([&] {
      if (h.state.matchCount < 200) return false;
      h.button("按钮查找导出")->click();
      return true;
    });
    h.button("按钮查找导出")->click();
    const std::vector<std::string> lines = exportedLines(h.path("part.txt"));
    QVERIFY(lines.size() >= 200 && lines.size() < 5008);
    QCOMPARE(lines.size(), static_cast<std::size_t>(h.state.matchCount));
    QCOMPARE(h.messages.shown.back().text, QStringLiteral(u"查找并导出完毕：") + h.qpath("part.txt"));
  }

  void stopDuringListExportKeepsTheRowsWritten() {
    Harness h;
    MainWindow& w = h.start();
    h.find<QRadioButton>("单选框全部输出")->click();
    h.find<QComboBox>("组合框字母索引")->setCurrentIndex(27);
    h.button("按钮开始查找")->click();
    QCOMPARE(w.listModel().rowCount(), 5008);
    h.saveFile.answers << h.qpath("rows.txt");
    int pumps = 0;
    QString caption;
    WhileRunning stopper([&] {
      if (++pumps < 300) return false;
      h.button("按钮导出保存")->click();
      caption = h.button("按钮导出保存")->text();
      return true;
    });
    h.button("按钮导出保存")->click();
    QCOMPARE(caption, QStringLiteral(u"停止中.."));
    const std::vector<std::string> lines = exportedLines(h.path("rows.txt"));
    QVERIFY(lines.size() > 0 && lines.size() < 5008);
    for (std::size_t i = 0; i < lines.size(); ++i) QCOMPARE(lines[i], std::string(w.listModel().keywords().at(i)));
    QCOMPARE(h.messages.shown.back().text, QStringLiteral(u"导出完毕：") + h.qpath("rows.txt"));
  }

  // A file that cannot be made is reported with its path and the reason,
  // never as a finished export.
  void uncreatableFileIsReported() {
    Harness h;
    h.start();
    const QString path = h.qpath("no-such-folder/out.txt");
    h.saveFile.answers << path << path;
    h.button("按钮导出保存")->click();
    h.button("按钮查找导出")->click();
    QCOMPARE(h.messages.shown.size(), std::size_t{2});
    for (const ShownMessage& m : h.messages.shown) {
      QCOMPARE(m.title, QStringLiteral(u"信息："));
      QVERIFY2(m.text.startsWith(QStringLiteral(u"无法创建导出文件：") + path), qPrintable(m.text));
      QVERIFY2(m.text.contains(QStringLiteral(u"原因：")) && !m.text.endsWith(QStringLiteral(u"原因：")),
               qPrintable(m.text));
    }
    QCOMPARE(h.button("按钮查找导出")->text(), QStringLiteral(u"开始查找并导出保存"));
  }

  // /dev/full takes the file open and fails every write, as a full disk does.
  void failedWritesAreReportedWithTheCountWritten() {
    if (!QFile::exists(QStringLiteral("/dev/full"))) QSKIP("no /dev/full here");
    Harness h;
    h.start();
    h.find<QRadioButton>("单选框全部输出")->click();
    h.find<QComboBox>("组合框字母索引")->setCurrentIndex(27);
    h.button("按钮开始查找")->click();
    h.saveFile.answers << QStringLiteral("/dev/full") << QStringLiteral("/dev/full");
    h.button("按钮导出保存")->click();
    h.button("按钮查找导出")->click();
    QCOMPARE(h.messages.shown.size(), std::size_t{2});
    for (const ShownMessage& m : h.messages.shown) {
      QVERIFY2(m.text.startsWith(QStringLiteral(u"导出失败：/dev/full")), qPrintable(m.text));
      QVERIFY2(m.text.endsWith(QStringLiteral(u"已写入 0 个关键词。")), qPrintable(m.text));
    }
  }
};

KX_REGISTER_TEST_CLASS(ExportTest);

}  // namespace kx::app::test

#include "export_test.moc"
