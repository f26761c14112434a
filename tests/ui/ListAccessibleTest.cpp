#include <QAccessible>
#include <QTest>

#include "OneTestOfMany.h"
#include "WindowFixture.h"

using WindowFixture = BasicWindowFixture<RecordingDesktop>;

// A screen reader sees List1 as a list of all twelve counts, not only those in sight: Orca 48
// counts the rows on screen unless the list states its size, which Qt 6.8 lets it do.
class ListAccessibleTest : public QObject {
    Q_OBJECT

private slots:
    void listsEveryRow();
    void showsWhichRowsAreInSight();
    void reportsThePickAndTheFocus();
    void statesItsSize();
};

void ListAccessibleTest::listsEveryRow() {
    WindowFixture window;
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(window.list());
    QVERIFY(list);
    QCOMPARE(list->role(), QAccessible::List);
    QCOMPARE(list->childCount(), 12);
    for (int row = 0; row < 12; ++row) {
        QAccessibleInterface* item = list->child(row);
        QVERIFY(item);
        QCOMPARE(item->role(), QAccessible::ListItem);
        QCOMPARE(item->text(QAccessible::Name), QString::number(row + 1));
        QCOMPARE(item->parent(), list);
        QCOMPARE(list->indexOfChild(item), row);
    }
    QVERIFY(!list->child(12));
}

void ListAccessibleTest::showsWhichRowsAreInSight() {
    WindowFixture window;
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(window.list());
    QVERIFY(!list->child(0)->state().offscreen);
    QVERIFY(list->child(11)->state().offscreen);
    window.list()->scrollToItem(window.list()->item(11));
    QVERIFY(!list->child(11)->state().offscreen);
    QVERIFY(list->rect().contains(list->child(11)->rect()));
}

void ListAccessibleTest::reportsThePickAndTheFocus() {
    WindowFixture window;
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(window.list());
    window.list()->setFocus();
    // Taking the focus makes no row current: no row is the focused one.
    QVERIFY(!list->focusChild());
    window.clickListItem(2);
    QVERIFY(list->child(2)->state().selected);
    QVERIFY(!list->child(0)->state().selected);
    QCOMPARE(list->focusChild(), list->child(2));
    QVERIFY(list->child(2)->state().focused);
}

// Qt 6.4 has no object attributes to state it with; Orca 43 counts every row.
void ListAccessibleTest::statesItsSize() {
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    WindowFixture window;
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(window.list());
    QAccessibleAttributesInterface* attributes = list->attributesInterface();
    QVERIFY(attributes);
    const auto custom =
        attributes->attributeValue(QAccessible::Attribute::Custom).value<QHash<QString, QString>>();
    QCOMPARE(custom.value(QStringLiteral("setsize")), QStringLiteral("12"));
#else
    QSKIP("Qt before 6.8 has no object attributes");
#endif
}

QUILVANE_TEST_MAIN(ListAccessibleTest)
#include "ListAccessibleTest.moc"
