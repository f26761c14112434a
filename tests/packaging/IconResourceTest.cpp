#include <QImage>
#include <QString>
#include <QTest>

// The window icon is built from these resources; a missing or misnamed one only shows as a
// blurry or blank icon at that size, so check each one the way the window will load it.
class IconResourceTest : public QObject {
    Q_OBJECT

private slots:
    void loadsAtItsOwnSize_data();
    void loadsAtItsOwnSize();
};

void IconResourceTest::loadsAtItsOwnSize_data() {
    QTest::addColumn<int>("size");
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const QString row =
            QStringLiteral("the %1 px icon is compiled in as :/icons/%1.png").arg(size);
        QTest::newRow(qPrintable(row)) << size;
    }
}

void IconResourceTest::loadsAtItsOwnSize() {
    QFETCH(int, size);
    const QImage image(QStringLiteral(":/icons/%1.png").arg(size));
    QVERIFY2(!image.isNull(), "resource missing or not a readable PNG");
    QCOMPARE(image.width(), size);
    QCOMPARE(image.height(), size);
    // Round sun on a transparent square: see-through corner, solid middle.
    QVERIFY(image.hasAlphaChannel());
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(image.pixel(size / 2, size / 2)), 255);
}

QTEST_GUILESS_MAIN(IconResourceTest)
#include "IconResourceTest.moc"
