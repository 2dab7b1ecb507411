// The window as a user sees it: the icon, the keyword box's text, the outer
// sizes once the desktop has framed the windows, and the radio group's keys.
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QtTest>
#include <utility>

#include "app/text_dialog.h"
#include "app_harness.h"
#include "test_registry.h"

namespace kx::app::test {
namespace {

// First and last row in which two images of one size differ; (-1, -1) when
// they are the same.
std::pair<int, int> differingRows(const QImage& a, const QImage& b) {
  int first = -1;
  int last = -1;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      if (a.pixel(x, y) != b.pixel(x, y)) {
        if (first < 0) first = y;
        last = y;
        break;
      }
    }
  }
  return {first, last};
}

}  // namespace

class WindowLookTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void windowCarriesThePaintedIcon() {
    Harness h;
    MainWindow& w = h.start();
    QCOMPARE(w.windowIcon().availableSizes(), (QList<QSize>{{16, 16}, {32, 32}, {48, 48}, {64, 64}}));
  }

  // The fallback font's line box is taller than the box; the text must still
  // show whole. Ideographs and descenders together need one row more than the
  // frame leaves: then only the ideographs' faint top row may reach into it.
  void keywordBoxShowsItsTextWhole_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("inside");
    auto row = [](const char16_t* text, bool inside) {
      QTest::newRow(QString::fromUtf16(text).toUtf8()) << QString::fromUtf16(text) << inside;
    };
    row(u"阿", true);
    row(u"gjpqy", true);
    row(u"阿迪达斯 jpg", false);
    row(u"Qy国 鞋", false);
  }

  void keywordBoxShowsItsTextWhole() {
    QFETCH(QString, text);
    QFETCH(bool, inside);
    Harness h;
    h.start();
    auto* box = h.find<QLineEdit>("编辑框关键词");
    QCOMPARE(box->size(), QSize(260, 33));
    QCOMPARE(box->font().pixelSize(), 29);
    box->setText(QString());
    const QImage blank = box->grab().toImage();
    box->setText(text);
    const auto [top, bottom] = differingRows(box->grab().toImage(), blank);

    // The same text drawn with room to spare.
    QImage roomy(box->width() * 2, box->height() * 3, blank.format());
    roomy.fill(box->palette().color(QPalette::Base));
    const QImage roomyBlank = roomy;
    {
      QPainter painter(&roomy);
      painter.setFont(box->font());
      painter.setPen(box->palette().color(QPalette::Text));
      painter.drawText(8, box->height() * 2, text);
    }
    const auto [roomyTop, roomyBottom] = differingRows(roomy, roomyBlank);

    QStyleOptionFrame option;
    option.initFrom(box);
    option.lineWidth = box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, box);
    const QRect frameInside = box->style()->subElementRect(QStyle::SE_LineEditContents, &option, box);
    const QString rows = QStringLiteral("text rows %1..%2, frame leaves %3..%4")
                             .arg(top)
                             .arg(bottom)
                             .arg(frameInside.top())
                             .arg(frameInside.bottom());
    QVERIFY2(bottom - top == roomyBottom - roomyTop, qPrintable(rows));  // no row cut off
    QVERIFY2(bottom <= frameInside.bottom(), qPrintable(rows));
    QVERIFY2(top >= frameInside.top() - (inside ? 0 : 1), qPrintable(rows));
  }

  // Here the frame comes only when the window leaves full screen, as a
  // window manager reports it only some time after the window is shown.
  void outerSizeFitsTheFrameWhenItComes() {
    Harness h;
    MainWindow& w = h.start();
    w.showFullScreen();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.showNormal();
    QTRY_COMPARE(w.frameGeometry().size(), QSize(681, 610));
    QVERIFY(w.size() != QSize(681, 610));  // the frame takes its share
    QCOMPARE(w.minimumSize(), w.maximumSize());
  }

  void helpDialogHasItsOuterSizeCentred() {
    Harness h;
    MainWindow& w = h.start();
    w.show();
    QRect outer;
    int ticks = 0;
    QTimer watcher;  // looks at the dialog from inside its own event loop
    connect(&watcher, &QTimer::timeout, [&] {
      for (QWidget* top : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<TextDialog*>(top);
        if (dialog == nullptr || !dialog->isVisible()) continue;
        outer = dialog->frameGeometry();
        if (outer.size() == QSize(495, 393) || ++ticks == 100) dialog->close();
      }
    });
    watcher.start(10);
    w.showHelp();
    const QSize screen = QGuiApplication::primaryScreen()->size();
    QCOMPARE(outer, QRect(screen.width() / 2 - 495 / 2, (screen.height() - 30) / 2 - 393 / 2, 495, 393));
  }

  // The arrow keys move the check along with the focus, as in any radio
  // group, and the keyword rule follows.
  void arrowKeysCheckTheButtonTheyReach_data() {
    QTest::addColumn<QString>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("to");
    QTest::addColumn<bool>("keywordEnabled");
    auto row = [](const char* name, const char16_t* from, Qt::Key key, const char16_t* to, bool enabled) {
      QTest::newRow(name) << QString::fromUtf16(from) << int(key) << QString::fromUtf16(to) << enabled;
    };
    row("down", u"单选框匹配左边", Qt::Key_Down, u"单选框匹配中间", true);
    row("down to all", u"单选框匹配右边", Qt::Key_Down, u"单选框全部输出", false);
    row("up", u"单选框匹配中间", Qt::Key_Up, u"单选框匹配左边", true);
    row("right", u"单选框匹配左边", Qt::Key_Right, u"单选框模糊首拼", true);
    row("left", u"单选框正则表达式", Qt::Key_Left, u"单选框匹配右边", true);
  }

  void arrowKeysCheckTheButtonTheyReach() {
    QFETCH(QString, from);
    QFETCH(int, key);
    QFETCH(QString, to);
    QFETCH(bool, keywordEnabled);
    Harness h;
    MainWindow& w = h.start();
    w.show();
    QApplication::setActiveWindow(&w);
    QVERIFY(QTest::qWaitForWindowActive(&w));
    auto* start = w.findChild<QRadioButton*>(from);
    start->click();
    start->setFocus();
    QTest::keyClick(start, Qt::Key(key));
    auto* reached = w.findChild<QRadioButton*>(to);
    QVERIFY(reached->hasFocus());
    for (QRadioButton* radio : w.findChildren<QRadioButton*>()) {
      QVERIFY2(radio->isChecked() == (radio == reached), qPrintable(radio->objectName()));
    }
    QCOMPARE(h.find<QLineEdit>("编辑框关键词")->isEnabled(), keywordEnabled);
  }

  // Restored flags are set one by one, so several may show checked; the
  // keys then still leave exactly one.
  void arrowKeyAfterARestoreOfSeveralFlags() {
    Harness h;
    kx::test::writeFile(h.path("Kestrix.ini"), kx::test::gbk(u8"[基本配置]\r\n匹配左边=真\r\n正则表达式=真\r\n"));
    MainWindow& w = h.start();
    w.show();
    QApplication::setActiveWindow(&w);
    QVERIFY(QTest::qWaitForWindowActive(&w));
    auto* left = h.find<QRadioButton>("单选框匹配左边");
    QVERIFY(left->isChecked() && h.find<QRadioButton>("单选框正则表达式")->isChecked());
    left->setFocus();
    QTest::keyClick(left, Qt::Key_Down);
    for (QRadioButton* radio : w.findChildren<QRadioButton*>()) {
      QVERIFY2(radio->isChecked() == (radio->objectName() == QStringLiteral(u"单选框匹配中间")),
               qPrintable(radio->objectName()));
    }
  }
};

KX_REGISTER_TEST_CLASS(WindowLookTest);

}  // namespace kx::app::test

#include "window_look_test.moc"
