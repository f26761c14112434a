// What Windows itself says of the window: the frame and title bar buttons it was given, and its
// client area; and the font the layout is measured for, found or carried.
#include <QFontInfo>
#include <QtTest>

#include <windows.h>

#include "FormCanvas.h"
#include "WindowFigures.h"
#include "WindowFixture.h"

class NativeWindowTest : public QObject {
    Q_OBJECT

private slots:
    void hasACloseButtonAloneAndAFixedFrame() {
        WindowFixture window;
        const auto hwnd = reinterpret_cast<HWND>(window.form->winId());
        const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
        QVERIFY2(style & WS_SYSMENU, "no window menu, and so no close button");
        QVERIFY2(!(style & WS_MINIMIZEBOX), "a minimize button");
        QVERIFY2(!(style & WS_MAXIMIZEBOX), "a maximize button");
        QVERIFY2(!(style & WS_THICKFRAME), "a frame the user can resize");
        // The menu bar is Qt's, inside Windows' client area; below it the layout's.
        RECT client{};
        QVERIFY(GetClientRect(hwnd, &client));
        QCOMPARE(int(client.right - client.left), figures::pixels(figures::kClientWidth));
        QCOMPARE(window.form->canvas().height(), figures::pixels(figures::kClientHeight));
    }

    void drawsInArialOrItsMetrics() {
        WindowFixture window;
        const QFontInfo used(window.form->font());
        qInfo("layout font: %s, %g pt", qPrintable(used.family()), used.pointSizeF());
        QVERIFY2(used.family() == QStringLiteral("Arial") ||
                     used.family() == QStringLiteral("Liberation Sans"),
                 qPrintable(used.family()));
        // GDI sizes fonts in whole pixels: 8 points are 11 at 96 dpi.
        QVERIFY2(qAbs(used.pointSizeF() - 8.0) <= 0.375, qPrintable(QString::number(used.pointSizeF())));
    }
};

QTEST_MAIN(NativeWindowTest)
#include "NativeWindowTest.moc"
