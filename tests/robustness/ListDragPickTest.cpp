#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "OneTestOfMany.h"
#include "WindowFixture.h"

// The count is picked whenever the user changes List1's selection, as the reminder and the
// enabled Calcola media: promise, and once picked it stays selected. A mouse pressed on one item
// and released on another, or off the list, changes the selection without any click; dragged
// past the last item it could clear the selection, leaving Calcola media: enabled with nothing
// to divide by.

class ListDragPickTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void countChosenWithTheMouseIsPicked_data();
    void countChosenWithTheMouseIsPicked();
    void pickedCountSurvivesADragOffTheItems_data();
    void pickedCountSurvivesADragOffTheItems();

private:
    QPoint centreOf(int row) const;

    std::unique_ptr<WindowFixture> m_window;
    QListWidget* m_list = nullptr;
};

void ListDragPickTest::init() {
    m_window = std::make_unique<WindowFixture>();
    QVERIFY(m_window->form->isActiveWindow());
    m_list = m_window->list();
}

void ListDragPickTest::cleanup() {
    m_window.reset();
}

QPoint ListDragPickTest::centreOf(int row) const {
    return m_list->visualItemRect(m_list->item(row)).center();
}

void ListDragPickTest::countChosenWithTheMouseIsPicked_data() {
    QTest::addColumn<int>("clickedFirst");  // -1: nothing picked before
    QTest::addColumn<int>("pressedRow");
    QTest::addColumn<int>("releasedRow");  // -1: released below the list
    QTest::newRow("a click on 4 picks 4") << -1 << 3 << 3;
    QTest::newRow("pressing on 1 and releasing on 3 picks 3") << -1 << 0 << 2;
    QTest::newRow("pressing on 2 and releasing below the list picks what is selected")
        << -1 << 1 << -1;
    QTest::newRow("after a pick of 1, pressing on 1 and releasing on 4 picks 4") << 0 << 0 << 3;
    QTest::newRow(
        "after a pick of 1, pressing on 3 and releasing below the list picks what is "
        "selected")
        << 0 << 2 << -1;
}

void ListDragPickTest::countChosenWithTheMouseIsPicked() {
    QFETCH(int, clickedFirst);
    QFETCH(int, pressedRow);
    QFETCH(int, releasedRow);

    QWidget* viewport = m_list->viewport();
    if (clickedFirst >= 0) QTest::mouseClick(viewport, Qt::LeftButton, {}, centreOf(clickedFirst));
    const QPoint release = releasedRow >= 0
                               ? centreOf(releasedRow)
                               : QPoint(viewport->width() / 2, viewport->height() + 30);
    QTest::mousePress(viewport, Qt::LeftButton, {}, centreOf(pressedRow));
    QTest::mouseMove(viewport, release);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, release);

    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    QCOMPARE(selected.size(), 1);
    const QString expected = selected.first()->text();
    if (releasedRow >= 0) QCOMPARE(expected, m_list->item(releasedRow)->text());
    QVERIFY2(m_window->button()->isEnabled(), "Calcola media: stays disabled");
    QVERIFY(!m_window->desktop.messages.empty());
    const QString& reminder = m_window->desktop.messages.back().prompt;
    QVERIFY2(
        reminder.contains(QStringLiteral("hai scelto ") + expected + QStringLiteral(" di mesi")),
        qPrintable(QStringLiteral("last reminder: ") + reminder));
}

void ListDragPickTest::pickedCountSurvivesADragOffTheItems_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("releasedY");  // in the viewport
    QTest::newRow("pressing on 12 and releasing below the last item keeps a count picked")
        << 11 << 1000;
    QTest::newRow("pressing on 1 and releasing above the first item keeps a count picked")
        << 0 << -20;
}

void ListDragPickTest::pickedCountSurvivesADragOffTheItems() {
    QFETCH(int, row);
    QFETCH(int, releasedY);

    QWidget* viewport = m_list->viewport();
    m_list->scrollToItem(m_list->item(row));
    QTest::mouseClick(viewport, Qt::LeftButton, {}, centreOf(row));
    const QPoint release(viewport->width() / 2, releasedY);
    QTest::mousePress(viewport, Qt::LeftButton, {}, centreOf(row));
    QTest::mouseMove(viewport, release);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, release);

    QCOMPARE(m_list->selectedItems().size(), 1);
    QVERIFY(m_window->desktop.messages.back().prompt.contains(
        QStringLiteral("hai scelto ") + m_list->selectedItems().first()->text() +
        QStringLiteral(" di mesi")));
    const int beeps = m_window->desktop.beeps;
    m_window->compute();
    QVERIFY2(m_window->desktop.beeps == beeps + 1, "Calcola media: showed no mean");
}

QUILVANE_TEST_MAIN(ListDragPickTest)
#include "ListDragPickTest.moc"
