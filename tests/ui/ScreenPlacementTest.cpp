#include <QTest>

#include "OneTestOfMany.h"
#include "ScreenPlacement.h"

// The window opens centred in the free area of its screen, and never with its title bar or menu
// bar out of reach: at twice the scale the 411x433 window is taller than a 1024x768 screen.
class ScreenPlacementTest : public QObject {
    Q_OBJECT

private slots:
    void placeWithin_data();
    void placeWithin();
};

void ScreenPlacementTest::placeWithin_data() {
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QSize>("frame");
    QTest::addColumn<QPoint>("topLeft");

    QTest::newRow("fits: centred") << QRect(0, 0, 1024, 768) << QSize(411, 433) << QPoint(306, 167);
    QTest::newRow("fits exactly: on the area")
        << QRect(10, 20, 411, 433) << QSize(411, 433) << QPoint(10, 20);
    QTest::newRow("a panel at the top: centred below it")
        << QRect(0, 32, 1024, 736) << QSize(411, 433) << QPoint(306, 183);
    QTest::newRow("second screen with a dock on its left: centred in what is left")
        << QRect(1968, 0, 1232, 1024) << QSize(411, 433) << QPoint(2378, 295);
    QTest::newRow("taller than 1024x768 at twice the scale: top on the screen, centred across")
        << QRect(0, 0, 512, 384) << QSize(411, 433) << QPoint(50, 0);
    QTest::newRow("taller than the area under a top panel: top just below the panel")
        << QRect(0, 27, 1024, 741) << QSize(822, 866) << QPoint(101, 27);
    QTest::newRow("wider and taller than the area: its top-left corner on the area's")
        << QRect(40, 30, 760, 570) << QSize(822, 866) << QPoint(40, 30);
    QTest::newRow("wider only: flush left, centred down")
        << QRect(0, 0, 400, 1000) << QSize(411, 433) << QPoint(0, 283);
}

void ScreenPlacementTest::placeWithin() {
    QFETCH(QRect, available);
    QFETCH(QSize, frame);
    QFETCH(QPoint, topLeft);
    QCOMPARE(::placeWithin(available, frame), topLeft);
}

QUILVANE_TEST_APPLESS_MAIN(ScreenPlacementTest)
#include "ScreenPlacementTest.moc"
