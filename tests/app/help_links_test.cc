// 疑点说明 and the banner links.
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include "app/banner_widgets.h"
#include "app/desktop_services.h"
#include "app/help_text.h"
#include "app/text_dialog.h"
#include "app/web_links.h"
#include "app_harness.h"
#include "text/gbk_codec.h"
#include "test_registry.h"

namespace kx::app::test {

class HelpLinksTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void helpTextHasItsThirtyNineLines() {
    const QString text = helpText();
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 39);
    QVERIFY(!text.endsWith(QStringLiteral("\r\n")));
    QCOMPARE(lines[2], QStringLiteral(u"本软件的关键词数据采集自淘宝官方的一淘：") + QString::fromUtf16(kDataSourcePage));
    QCOMPARE(lines[6], QStringLiteral(" "));
    QCOMPARE(lines[9], QStringLiteral(u"视频教程：") + QString::fromUtf16(kVideoTutorialPage));
    QCOMPARE(lines[12], QStringLiteral(u"【关键字匹配选项】"));
    QCOMPARE(lines[38].left(10), QStringLiteral(u"开始查找并导出保存："));
    for (int empty : {1, 8, 10, 11, 13, 15, 23, 25, 29, 31, 33, 35}) QVERIFY2(lines[empty].isEmpty(), qPrintable(QString::number(empty)));
    const std::u16string utf16(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size()));
    const auto bytes = kx::utf16ToGbk(utf16);
    QVERIFY(bytes.has_value());  // every character has its GBK form
  }

  void helpOpensOneReadOnlyDialogAtATime() {
    Harness h;
    MainWindow& w = h.start();
    w.show();
    bool checked = false;
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<TextDialog*>(QApplication::activeModalWidget());
      QVERIFY(dialog != nullptr);
      QCOMPARE(dialog->windowTitle(), QStringLiteral(u"Lumsa："));
      auto* body = dialog->findChild<QPlainTextEdit*>(QStringLiteral(u"编辑框正文"));
      QVERIFY(body->isReadOnly());
      QCOMPARE(body->toPlainText().split(u'\n').size(), 39);
      QCOMPARE(dialog->focusWidget(), body);
      QCOMPARE(dialog->findChild<QPushButton*>(QStringLiteral(u"按钮取消"))->text(), QStringLiteral(u"关闭(&G)"));
      w.showHelp();  // returns at once: one dialog at a time
      int dialogs = 0;
      for (QWidget* top : QApplication::topLevelWidgets()) dialogs += qobject_cast<TextDialog*>(top) != nullptr;
      QCOMPARE(dialogs, 1);
      dialog->resize(700, 500);
      auto* close = dialog->findChild<QPushButton*>(QStringLiteral(u"按钮取消"));
      QCOMPARE(body->geometry(), QRect(5, 10, 690, 456));
      QCOMPARE(close->geometry(), QRect(631, 471, 64, 24));
      checked = true;
      QTest::keyClick(dialog, Qt::Key_Escape);
    });
    w.showHelp();
    QVERIFY(checked);
    QVERIFY(!TextDialog::isOpen());
  }

  void promptHeightFollowsTheRowRule() {
    QCOMPARE(promptHeight(QString(), 495), 0);
    QCOMPARE(promptHeight(QStringLiteral("abc\r\n"), 495), 12);  // a last empty piece is dropped
    QCOMPARE(promptHeight(QStringLiteral("a\r\n\r\nb"), 495), 36);  // an empty line needs a row
    // (495 - 10) / 6 = 80 bytes a row; a Chinese character is two.
    QCOMPARE(promptHeight(QString(81, u'x'), 495), 24);
    QCOMPARE(promptHeight(QString(41, u'阿'), 495), 24);
  }

  void iconsAndLabelsOpenTheirPages() {
    Harness h;
    h.start();
    QTest::mouseClick(h.find<QWidget>("图片框批处理"), Qt::LeftButton);
    QVERIFY(h.urls.opened.isEmpty());
    QTest::mouseClick(h.find<QWidget>("超级链接框批处理"), Qt::LeftButton);
    QCOMPARE(h.urls.opened, QStringList{QString::fromUtf16(kBatchToolPage)});
    QTest::mouseClick(h.find<QWidget>("图片框更新"), Qt::LeftButton);
    QTest::mouseClick(h.find<QWidget>("超级链接框更新"), Qt::LeftButton);
    QCOMPARE(h.urls.opened.mid(1), QStringList(2, QString::fromUtf16(kHomePage)));
    QTest::mouseClick(h.find<QWidget>("图片框官网"), Qt::LeftButton);
    QCOMPARE(h.urls.opened.last(), QString::fromUtf16(kMakerHomePage));
  }

  // The icon reads its label's target at the click, and only web addresses open.
  void iconsBorrowTheTargetAtClickTime() {
    Harness h;
    h.start();
    auto* label = h.find<LinkLabel>("超级链接框QQ");
    label->setTarget(QStringLiteral("https://www.example.com/other"));
    QTest::mouseClick(h.find<QWidget>("图片框QQ"), Qt::LeftButton);
    QCOMPARE(h.urls.opened, QStringList{QStringLiteral("https://www.example.com/other")});
    for (const char* target : {"file:///etc/passwd", "", "javascript:alert(1)", "http://"}) {
      label->setTarget(QString::fromUtf8(target));
      QTest::mouseClick(label, Qt::LeftButton);
    }
    QCOMPARE(h.urls.opened.size(), 1);
  }

  void saveDialogFilterInQtForm() {
    QCOMPARE(qtFileFilter(QStringLiteral(u"文本文件|*.txt|全部文件|*.*")),
             QStringLiteral(u"文本文件 (*.txt);;全部文件 (*.*)"));
  }
};

KX_REGISTER_TEST_CLASS(HelpLinksTest);

}  // namespace kx::app::test

#include "help_links_test.moc"
