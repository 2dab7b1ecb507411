// Start-up: the controls as built, and the state restored from Kestrix.ini.
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QtTest>

#include "app/result_list_view.h"
#include "app_harness.h"
#include "search/store/keyword_counts.h"
#include "search/store/keyword_store.h"
#include "support/test_util.h"
#include "test_registry.h"

namespace kx::app::test {

class StartUpTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void firstStartShowsTheDesignState() {
    Harness h;
    MainWindow& w = h.start();
    QCOMPARE(w.windowTitle(), QStringLiteral(u"Kestrix v1.13 - 淘宝权威商品词、店铺词数据采集导出"));
    QCOMPARE(w.size(), QSize(681, 610));
    QCOMPARE(w.minimumSize(), w.maximumSize());
    QCOMPARE(h.find<QComboBox>("组合框词源")->currentText(), QStringLiteral(u"商品词"));
    QCOMPARE(h.find<QComboBox>("组合框字母索引")->currentText(), QStringLiteral("A"));
    QVERIFY(h.find<QRadioButton>("单选框匹配左边")->isChecked());
    QCOMPARE(h.find<QLineEdit>("编辑框关键词")->text(), QStringLiteral(u"阿"));
    QVERIFY(h.find<QLineEdit>("编辑框关键词")->isEnabled());
    // "A" holds the three 阿 words and the 5000 generated a-words.
    QCOMPARE(h.title(), QStringLiteral(u"商品词的 A 索引下有 5003 个关键词"));
  }

  void controlsHaveTheirNamesPlacesAndCaptions_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("caption");
    auto row = [](const char16_t* name, QRect rect, const char16_t* caption) {
      QTest::newRow(QString::fromUtf16(name).toUtf8()) << QString::fromUtf16(name) << rect << QString::fromUtf16(caption);
    };
    row(u"单选框匹配左边", {404, 142, 112, 32}, u"匹配左边");
    row(u"单选框匹配中间", {404, 174, 112, 32}, u"匹配中间");
    row(u"单选框匹配右边", {404, 206, 112, 32}, u"匹配右边");
    row(u"单选框模糊首拼", {540, 142, 120, 32}, u"模糊首拼");
    row(u"单选框通配符", {540, 174, 120, 32}, u"通配符 *");
    row(u"单选框正则表达式", {540, 206, 120, 32}, u"正则表达式");
    row(u"单选框全部输出", {404, 238, 260, 32}, u"全部输出（不需要输入关键字）");
    row(u"按钮开始查找", {402, 476, 126, 40}, u"开始查找");
    row(u"按钮导出保存", {538, 476, 126, 40}, u"导出保存");
    row(u"按钮查找导出", {404, 528, 260, 40}, u"开始查找并导出保存");
    row(u"标签3", {404, 432, 260, 32}, u" 查找导出");
    row(u"超级链接框保存", {16, 64, 64, 24}, u"保存配置");
    row(u"超级链接框批处理", {672, 64, 64, 24}, u"批处理工具");
    row(u"编辑框关键词", {404, 364, 260, 33}, u"阿");
    row(u"列表框", {8, 104, 384, 464}, u"");
    row(u"图片框官网", {464, 12, 145, 64}, u"");
  }

  void controlsHaveTheirNamesPlacesAndCaptions() {
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(QString, caption);
    Harness h;
    MainWindow& w = h.start();
    QWidget* control = w.findChild<QWidget*>(name);
    QVERIFY2(control != nullptr, qPrintable(name));
    QCOMPARE(control->geometry(), geometry);
    if (auto* button = qobject_cast<QAbstractButton*>(control)) QCOMPARE(button->text(), caption);
    if (auto* label = qobject_cast<QLabel*>(control)) QCOMPARE(label->text(), caption);
    if (auto* edit = qobject_cast<QLineEdit*>(control)) QCOMPARE(edit->text(), caption);
  }

  void letterSelectorHoldsTwentyEightEntries() {
    Harness h;
    h.start();
    auto* box = h.find<QComboBox>("组合框字母索引");
    QCOMPARE(box->count(), 28);
    QCOMPARE(box->itemText(0), QStringLiteral("A"));
    QCOMPARE(box->itemText(25), QStringLiteral("Z"));
    QCOMPARE(box->itemText(26), QStringLiteral("0-9"));
    QCOMPARE(box->itemText(27), QStringLiteral("all"));
    QCOMPARE(h.find<ResultListView>("列表框")->header()->sectionSize(0), 350);
  }

  // Hand-edited or odd settings files: what start-up makes of them.
  void storedValuesOutsideTheirRangeFallBack() {
    Harness h;
    kx::test::writeFile(h.path("Kestrix.ini"), kx::test::gbk(u8"[基本配置]\r\n词源=5\r\n字母索引=99\r\n"));
    h.start();
    QCOMPARE(h.find<QComboBox>("组合框词源")->currentIndex(), 0);
    QCOMPARE(h.find<QComboBox>("组合框字母索引")->currentIndex(), 0);
    QCOMPARE(h.title(), QStringLiteral(u"商品词的 A 索引下有 5003 个关键词"));
  }

  void storedAllOutputDisablesTheKeywordBoxKeepingItsText() {
    Harness h;
    kx::test::writeFile(h.path("Kestrix.ini"),
                        kx::test::gbk(u8"[基本配置]\r\n关键词=耐克\r\n全部输出（不需要输入关键字）=真\r\n匹配左边=假\r\n"));
    h.start();
    auto* keyword = h.find<QLineEdit>("编辑框关键词");
    QVERIFY(!keyword->isEnabled());
    QCOMPARE(keyword->text(), QStringLiteral(u"耐克"));
    QVERIFY(h.find<QRadioButton>("单选框全部输出")->isChecked());
    QVERIFY(!h.find<QRadioButton>("单选框匹配左边")->isChecked());
  }

  void severalStoredFlagsShowSeveralCheckedButtons() {
    Harness h;
    kx::test::writeFile(h.path("Kestrix.ini"), kx::test::gbk(u8"[基本配置]\r\n匹配左边=真\r\n正则表达式=真\r\n"));
    h.start();
    QVERIFY(h.find<QRadioButton>("单选框匹配左边")->isChecked());
    QVERIFY(h.find<QRadioButton>("单选框正则表达式")->isChecked());
    // A click makes the group exclusive again.
    h.find<QRadioButton>("单选框匹配中间")->click();
    QVERIFY(!h.find<QRadioButton>("单选框匹配左边")->isChecked());
    QVERIFY(!h.find<QRadioButton>("单选框正则表达式")->isChecked());
    QVERIFY(h.find<QRadioButton>("单选框匹配中间")->isChecked());
  }

  void everyRadioClickReappliesTheKeywordRule() {
    Harness h;
    h.start();
    auto* keyword = h.find<QLineEdit>("编辑框关键词");
    auto* all = h.find<QRadioButton>("单选框全部输出");
    all->click();
    QVERIFY(!keyword->isEnabled());
    all->click();  // clicking the checked button keeps it checked
    QVERIFY(all->isChecked());
    QVERIFY(!keyword->isEnabled());
    h.find<QRadioButton>("单选框通配符")->click();
    QVERIFY(keyword->isEnabled());
    QVERIFY(!all->isChecked());
  }

  void countCaptionFollowsBothSelectors() {
    Harness h;
    h.start();
    auto* category = h.find<QComboBox>("组合框词源");
    auto* letter = h.find<QComboBox>("组合框字母索引");
    letter->setCurrentIndex(26);
    QCOMPARE(h.title(), QStringLiteral(u"商品词的 0-9 索引下有 1 个关键词"));
    letter->setCurrentIndex(27);
    QCOMPARE(h.title(), QStringLiteral(u"商品词的 all 索引下有 5008 个关键词"));
    category->setCurrentIndex(1);
    QCOMPARE(h.title(), QStringLiteral(u"店铺词的 all 索引下有 4 个关键词"));
  }

  // "all" is the counts file's own figure, not the sum of the letters.
  void allShowsTheStoredTotal() {
    Harness h;
    std::array<std::int64_t, kAllIndex + 1> counts{};
    counts[1] = 2;
    counts[kAllIndex] = 9315520;
    QVERIFY(writeCounts(h.runDir(), KeywordCategory::ProductWords, counts));
    h.start();
    h.find<QComboBox>("组合框字母索引")->setCurrentIndex(27);
    QCOMPARE(h.title(), QStringLiteral(u"商品词的 all 索引下有 9315520 个关键词"));
  }

  void withoutCountsFileEveryCountIsZero() {
    Harness h;
    QVERIFY(removeFile(h.path("词数.ini")));
    h.start();
    QCOMPARE(h.title(), QStringLiteral(u"商品词的 A 索引下有 0 个关键词"));
  }
};

KX_REGISTER_TEST_CLASS(StartUpTest);

}  // namespace kx::app::test

#include "start_up_test.moc"
