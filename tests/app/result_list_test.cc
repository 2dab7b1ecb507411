// Picking rows in the result list and copying them.
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QtTest>
#include <random>
#include <vector>

#include "app/keyword_list_model.h"
#include "app/result_list_view.h"
#include "app/row_selection.h"
#include "support/test_util.h"
#include "test_registry.h"

namespace kx::app::test {
namespace {

// A shown list of rows "词0", "词1", ...
struct ListFixture {
  explicit ListFixture(int rows) {
    for (int i = 0; i < rows; ++i) model.keywords().append(kx::test::gbk("词" + std::to_string(i)));
    model.showNewRows();
    view.resize(384, 464);
    view.show();
  }

  void click(int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier, Qt::MouseButton button = Qt::LeftButton) {
    view.scrollToRow(row);
    QTest::mouseClick(view.viewport(), button, modifiers, view.rowRect(row).center());
  }

  QString copied() {
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
    return QGuiApplication::clipboard()->text();
  }

  KeywordListModel model;
  ResultListView view{model, 350};
};

QString rowsText(std::initializer_list<int> rows) {
  QStringList lines;
  for (int row : rows) lines << QStringLiteral(u"词") + QString::number(row);
  return lines.join(u'\n');
}

}  // namespace

class ResultListTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void picksAndCopiesRowsInListOrder() {
    enum Op { Click, ShiftClick, CtrlClick, CtrlShiftClick, SelectAll, Down, ShiftDown, ShiftUp, ShiftEnd };
    struct Step {
      Op op;
      int row;
    };
    struct Case {
      const char* name;
      std::vector<Step> steps;
      QString copied;
    };
    const Case cases[] = {
        {"one click", {{Click, 3}}, rowsText({3})},
        {"shift-click down", {{Click, 3}, {ShiftClick, 6}}, rowsText({3, 4, 5, 6})},
        {"shift-click up", {{Click, 6}, {ShiftClick, 3}}, rowsText({3, 4, 5, 6})},
        {"shift-click again from the same anchor", {{Click, 5}, {ShiftClick, 8}, {ShiftClick, 4}}, rowsText({4, 5})},
        {"ctrl-clicks", {{Click, 2}, {CtrlClick, 5}, {CtrlClick, 1}}, rowsText({1, 2, 5})},
        {"ctrl-click takes a row out", {{Click, 2}, {ShiftClick, 4}, {CtrlClick, 3}}, rowsText({2, 4})},
        {"ctrl+shift-click adds a range", {{Click, 2}, {CtrlClick, 5}, {CtrlShiftClick, 7}}, rowsText({2, 5, 6, 7})},
        {"select all", {{Click, 4}, {SelectAll, 0}}, rowsText({0, 1, 2, 3, 4, 5, 6, 7, 8, 9})},
        {"shift+down", {{Click, 4}, {ShiftDown, 0}, {ShiftDown, 0}}, rowsText({4, 5, 6})},
        {"shift+up past the anchor", {{Click, 4}, {ShiftDown, 0}, {ShiftUp, 0}, {ShiftUp, 0}}, rowsText({3, 4})},
        {"down drops the rest", {{Click, 4}, {ShiftEnd, 0}, {Down, 0}}, rowsText({9})},
        {"nothing picked", {}, QString()},
    };
    for (const Case& c : cases) {
      ListFixture list(10);
      for (const Step& step : c.steps) {
        switch (step.op) {
          case Click: list.click(step.row); break;
          case ShiftClick: list.click(step.row, Qt::ShiftModifier); break;
          case CtrlClick: list.click(step.row, Qt::ControlModifier); break;
          case CtrlShiftClick: list.click(step.row, Qt::ControlModifier | Qt::ShiftModifier); break;
          case SelectAll: QTest::keyClick(&list.view, Qt::Key_A, Qt::ControlModifier); break;
          case Down: QTest::keyClick(&list.view, Qt::Key_Down); break;
          case ShiftDown: QTest::keyClick(&list.view, Qt::Key_Down, Qt::ShiftModifier); break;
          case ShiftUp: QTest::keyClick(&list.view, Qt::Key_Up, Qt::ShiftModifier); break;
          case ShiftEnd: QTest::keyClick(&list.view, Qt::Key_End, Qt::ShiftModifier); break;
        }
      }
      QVERIFY2(list.copied() == c.copied, c.name);
    }
  }

  // A right click keeps a selection it lands in and replaces one it misses.
  void contextMenuCopiesTheSelection() {
    ListFixture list(10);
    list.click(2);
    list.click(4, Qt::ShiftModifier);
    QStringList captions;
    QTimer menuHandler;  // answers each menu from inside its own event loop
    connect(&menuHandler, &QTimer::timeout, [&] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      if (menu == nullptr) return;
      for (QAction* action : menu->actions()) captions << action->text();
      menu->actions().first()->trigger();
      menu->close();
    });
    menuHandler.start(0);
    auto copyThroughMenu = [&](int row) {
      QGuiApplication::clipboard()->clear();
      captions.clear();
      list.click(row, Qt::NoModifier, Qt::RightButton);
      const QPoint at = list.view.rowRect(row).center();
      QContextMenuEvent event(QContextMenuEvent::Mouse, at, list.view.viewport()->mapToGlobal(at));
      QApplication::sendEvent(list.view.viewport(), &event);
      return QGuiApplication::clipboard()->text();
    };
    QCOMPARE(copyThroughMenu(3), rowsText({2, 3, 4}));
    QCOMPARE(captions, QStringList{QStringLiteral(u"复制")});
    QCOMPARE(copyThroughMenu(7), rowsText({7}));
  }

  void newRunDropsTheSelection() {
    ListFixture list(10);
    QTest::keyClick(&list.view, Qt::Key_A, Qt::ControlModifier);
    list.model.clearRows();
    for (int i = 0; i < 3; ++i) list.model.keywords().append("x");
    list.model.showNewRows();
    QCOMPARE(list.copied(), QString());
    QCOMPARE(list.view.currentRow(), -1);
  }

  // Random picks against a plain row-by-row model; the ranges must stay
  // sorted, apart and merged, so that they stay few.
  void selectionMatchesARowByRowModel() {
    constexpr int kRows = 64;
    std::mt19937 random(9);
    RowSelection selection;
    std::vector<bool> model(kRows);
    for (int step = 0; step < 5000; ++step) {
      const int a = static_cast<int>(random() % kRows);
      const int b = static_cast<int>(random() % kRows);
      switch (random() % 8) {
        case 0: selection.clear(); model.assign(kRows, false); break;
        case 1:
        case 2:
        case 3:
          selection.toggle(a);
          model[a] = !model[a];
          break;
        default:
          selection.add(a, b);
          for (int row = std::min(a, b); row <= std::max(a, b); ++row) model[row] = true;
      }
      for (int row = 0; row < kRows; ++row) QVERIFY2(selection.contains(row) == model[row], qPrintable(QString::number(step)));
      QVERIFY(!selection.contains(-1) && !selection.contains(kRows));
      int previousLast = -2;
      for (const RowSelection::Range& range : selection.ranges()) {
        QVERIFY(range.first <= range.last);
        QVERIFY(range.first > previousLast + 1);
        previousLast = range.last;
      }
      QCOMPARE(selection.isEmpty(), selection.ranges().empty());
    }
  }
};

KX_REGISTER_TEST_CLASS(ResultListTest);

}  // namespace kx::app::test

#include "result_list_test.moc"
