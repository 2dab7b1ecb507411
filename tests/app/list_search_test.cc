// 开始查找: the list run, its captions and title, and its stop.
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QtTest>

#include <QClipboard>

#include "app/keyword_list_model.h"
#include "app/result_list_view.h"
#include "app_harness.h"
#include "support/test_util.h"
#include "test_registry.h"

namespace kx::app::test {

class ListSearchTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void leftSearchListsTheMatches() {
    Harness h;
    MainWindow& w = h.start();
    h.button("按钮开始查找")->click();
    const KeywordListModel& model = w.listModel();
    QCOMPARE(model.rowCount(), 3);
    QCOMPARE(model.data(model.index(0, 0)).toString(), QStringLiteral(u"阿迪达斯 男式鞋"));
    QCOMPARE(model.data(model.index(2, 0)).toString(), QStringLiteral(u"阿玛尼 手表"));
    QCOMPARE(h.title(), QStringLiteral(u"关键词(已查询到3个)"));
    QCOMPARE(h.button("按钮开始查找")->text(), QStringLiteral(u"开始查找"));
    QVERIFY(h.button("按钮导出保存")->isEnabled());
    QVERIFY(h.button("按钮查找导出")->isEnabled());
    QVERIFY(h.messages.shown.empty());
  }

  void searchFindingNothingEndsWithZero() {
    Harness h;
    h.start();
    h.find<QLineEdit>("编辑框关键词")->setText(QStringLiteral(u"没有这个词"));
    h.button("按钮开始查找")->click();
    QCOMPARE(h.window().listModel().rowCount(), 0);
    QCOMPARE(h.title(), QStringLiteral(u"关键词(已查询到0个)"));
  }

  // The middle mode is case-sensitive and runs through every letter.
  void middleSearchOverAllLetters() {
    Harness h;
    h.start();
    h.find<QRadioButton>("单选框匹配中间")->click();
    h.find<QComboBox>("组合框字母索引")->setCurrentIndex(27);
    h.find<QLineEdit>("编辑框关键词")->setText(QStringLiteral("nike"));
    h.button("按钮开始查找")->click();
    QCOMPARE(h.window().listModel().rowCount(), 1);
    QCOMPARE(h.title(), QStringLiteral(u"关键词(已查询到1个)"));
  }

  // A stop click ends the run before the next keyword; the rows found stay
  // and the title gives their number.
  void stopClickDuringAnAllRun() {
    Harness h;
    MainWindow& w = h.start();
    h.find<QRadioButton>("单选框全部输出")->click();
    h.find<QComboBox>("组合框字母索引")->setCurrentIndex(27);
    std::size_t rowsAtClick = 0;
    bool othersDisabled = false;
    QString captionAfterClick;
    WhileRunning stopper([&] {
      if (w.listModel().keywords().size() < 100) return false;
      othersDisabled = !h.button("按钮导出保存")->isEnabled() && !h.button("按钮查找导出")->isEnabled();
      rowsAtClick = w.listModel().keywords().size();
      QTest::mouseClick(h.button("按钮开始查找"), Qt::LeftButton);
      captionAfterClick = h.button("按钮开始查找")->text();
      return true;
    });
    h.button("按钮开始查找")->click();
    QVERIFY(othersDisabled);
    QCOMPARE(captionAfterClick, QStringLiteral(u"停止中.."));
    const int rows = w.listModel().rowCount();
    QVERIFY(rows >= 100 && rows < 5008);
    QCOMPARE(static_cast<std::size_t>(rows), rowsAtClick);
    QCOMPARE(h.state.matchCount, rows);
    QCOMPARE(h.title(), QStringLiteral(u"关键词(已查询到%1个)").arg(rows));
    QCOMPARE(h.button("按钮开始查找")->text(), QStringLiteral(u"开始查找"));
    QVERIFY(h.button("按钮导出保存")->isEnabled());
  }

  // While a run goes on, the title shows the letter being read and the count.
  void progressTitleDuringARun() {
    Harness h;
    MainWindow& w = h.start();
    h.find<QRadioButton>("单选框全部输出")->click();
    h.find<QComboBox>("组合框字母索引")->setCurrentIndex(27);
    QString progress;
    WhileRunning watcher([&] {
      if (w.listModel().keywords().size() < 50) return false;
      w.refreshProgress();
      progress = h.title();
      return true;
    });
    h.button("按钮开始查找")->click();
    QVERIFY2(progress.startsWith(QStringLiteral(u"正在查询 A 索引下的关键词..")), qPrintable(progress));
    QCOMPARE(w.listModel().rowCount(), 5008);
  }

  // The list keeps nothing per row: scrolling and picking rows work from the
  // row number alone, at either end of a long list.
  void longListScrollsAndPicksRows() {
    Harness h;
    MainWindow& w = h.start();
    h.find<QRadioButton>("单选框全部输出")->click();
    h.find<QComboBox>("组合框字母索引")->setCurrentIndex(27);
    h.button("按钮开始查找")->click();
    auto* list = h.find<ResultListView>("列表框");
    const int rows = w.listModel().rowCount();
    QCOMPARE(rows, 5008);
    QCOMPARE(list->topRow(), rows - list->visibleRows());  // the run ends showing its last row
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Home);
    QCOMPARE(list->currentRow(), 0);
    QCOMPARE(list->topRow(), 0);
    QTest::keyClick(list, Qt::Key_PageDown);
    QCOMPARE(list->currentRow(), list->visibleRows());
    QTest::keyClick(list, Qt::Key_End);
    QCOMPARE(list->currentRow(), rows - 1);
    QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(),
             w.listModel().data(w.listModel().index(rows - 1, 0)).toString());
    h.button("按钮开始查找")->click();  // a new run empties the list and the pick
    QCOMPARE(list->currentRow(), -1);
  }

  void changingASelectorAfterASearchKeepsTheRows() {
    Harness h;
    MainWindow& w = h.start();
    h.button("按钮开始查找")->click();
    h.find<QComboBox>("组合框词源")->setCurrentIndex(1);
    QCOMPARE(h.title(), QStringLiteral(u"店铺词的 A 索引下有 1 个关键词"));
    QCOMPARE(w.listModel().rowCount(), 3);
  }
};

KX_REGISTER_TEST_CLASS(ListSearchTest);

}  // namespace kx::app::test

#include "list_search_test.moc"
