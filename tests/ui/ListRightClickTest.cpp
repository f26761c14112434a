#include <QTest>

#include "OneTestOfMany.h"
#include "WindowFixture.h"

// Only a left click on List1 picks a count. Qt's list selects on any button, so a right click
// once enabled Calcola media: and showed the reminder; now the other buttons change nothing,
// and the keyboard still moves on from where the last real pick left the list.

enum class Gesture { Click, DoubleClick, Drag };
Q_DECLARE_METATYPE(Gesture)

class ListRightClickTest : public QObject {
    Q_OBJECT

private slots:
    void otherButtonsPickNothing_data();
    void otherButtonsPickNothing();
};

void ListRightClickTest::otherButtonsPickNothing_data() {
    QTest::addColumn<int>("pickedFirst");  // row picked with a left click first; -1: none
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<Gesture>("gesture");
    QTest::addColumn<int>("row");  // where the button goes down
    QTest::addColumn<int>("releasedRow");

    QTest::newRow("right click on 4, nothing picked")
        << -1 << Qt::RightButton << Gesture::Click << 3 << 3;
    QTest::newRow("right click on 4 after picking 1")
        << 0 << Qt::RightButton << Gesture::Click << 3 << 3;
    QTest::newRow("right click on the picked 2")
        << 1 << Qt::RightButton << Gesture::Click << 1 << 1;
    QTest::newRow("middle click on 6") << -1 << Qt::MiddleButton << Gesture::Click << 5 << 5;
    QTest::newRow("right double click on 3 after picking 1")
        << 0 << Qt::RightButton << Gesture::DoubleClick << 2 << 2;
    QTest::newRow("right drag from 2 to 5, nothing picked")
        << -1 << Qt::RightButton << Gesture::Drag << 1 << 4;
    QTest::newRow("right drag from 5 to 2 after picking 1")
        << 0 << Qt::RightButton << Gesture::Drag << 4 << 1;
}

void ListRightClickTest::otherButtonsPickNothing() {
    QFETCH(int, pickedFirst);
    QFETCH(Qt::MouseButton, button);
    QFETCH(Gesture, gesture);
    QFETCH(int, row);
    QFETCH(int, releasedRow);

    WindowFixture window;
    QListWidget* list = window.list();
    QWidget* viewport = list->viewport();
    const auto centreOf = [list](int r) { return list->visualItemRect(list->item(r)).center(); };
    if (pickedFirst >= 0) window.clickListItem(pickedFirst);
    const QList<QListWidgetItem*> selectedBefore = list->selectedItems();
    const bool enabledBefore = window.button()->isEnabled();
    const size_t messagesBefore = window.desktop.messages.size();

    switch (gesture) {
        case Gesture::Click:
            QTest::mouseClick(viewport, button, {}, centreOf(row));
            break;
        case Gesture::DoubleClick:
            QTest::mouseDClick(viewport, button, {}, centreOf(row));
            break;
        case Gesture::Drag:
            QTest::mousePress(viewport, button, {}, centreOf(row));
            QTest::mouseMove(viewport, centreOf((row + releasedRow) / 2));
            QTest::mouseMove(viewport, centreOf(releasedRow));
            QTest::mouseRelease(viewport, button, {}, centreOf(releasedRow));
            break;
    }

    QCOMPARE(list->selectedItems(), selectedBefore);
    QCOMPARE(window.button()->isEnabled(), enabledBefore);
    QCOMPARE(window.desktop.messages.size(), messagesBefore);

    // The arrow keys go on from the last pick, or from the top when there was none.
    QTest::keyClick(list, Qt::Key_Down);
    const QString next = QString::number(pickedFirst + 2);
    QCOMPARE(list->selectedItems().size(), 1);
    QCOMPARE(list->selectedItems().first()->text(), next);
    QVERIFY(window.button()->isEnabled());
    QCOMPARE(window.desktop.messages.size(), messagesBefore + 1);
    QVERIFY(window.desktop.messages.back().prompt.startsWith(QStringLiteral("Bene, hai scelto ") +
                                                             next + QStringLiteral(" di mesi.")));
}

QUILVANE_TEST_MAIN(ListRightClickTest)
#include "ListRightClickTest.moc"
