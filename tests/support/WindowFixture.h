#pragma once

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "DrawnControl.h"
#include "Form1.h"
#include "FormCanvas.h"
#include "RecordingDesktop.h"

// The real window on a desktop that records instead of showing, shown and active, with its
// controls found by name and driven by real events. Every test that needs the window builds it
// here; the print tests put a desktop that prints for real around it.
template <class DesktopType>
struct BasicWindowFixture {
    DesktopType desktop;
    std::unique_ptr<Form1> form = std::make_unique<Form1>(desktop);

    BasicWindowFixture() {
        form->show();
        form->activateWindow();
        if (!QTest::qWaitForWindowActive(form.get())) qWarning("the window did not become active");
    }

    QLineEdit* box(int number) const {
        return form->findChild<QLineEdit*>(QStringLiteral("Text%1").arg(number));
    }
    QListWidget* list() const { return form->findChild<QListWidget*>(QStringLiteral("List1")); }
    QPushButton* button() const {
        return form->findChild<QPushButton*>(QStringLiteral("Command1"));
    }
    const DrawnControl& drawn(const QString& name) const {
        const DrawnControl* control = form->canvas().drawnControl(name.toStdString());
        if (!control) qFatal("no drawn control %s", qPrintable(name));
        return *control;
    }
    double barTop(int month) const { return drawn(QStringLiteral("Line%1").arg(month + 1)).y2(); }
    double meanBarWidth() const { return drawn(QStringLiteral("Shape1")).width(); }
    QString meanCaption() const { return drawn(QStringLiteral("Label1")).caption; }
    QString mean() const { return box(1)->text(); }

    // Types into a month box (1 is January) through real key events.
    void type(int month, const QString& keys) const {
        QLineEdit* target = box(month + 1);
        target->setFocus();
        QTest::keyClicks(target, keys);
    }

    void clickListItem(int row) const {
        QListWidget* l = list();
        const QRect rect = l->visualItemRect(l->item(row));
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, rect.center());
    }

    // Picks the month count with a click, as a user would, scrolling to it first.
    void pickCount(int count) const {
        list()->scrollToItem(list()->item(count - 1));
        clickListItem(count - 1);
    }

    void compute() const { QTest::mouseClick(button(), Qt::LeftButton); }

    void print() const { form->findChild<QAction*>(QStringLiteral("mnuStampa"))->trigger(); }

    QImage clientImage() const { return form->canvas().grab().toImage(); }
};

using WindowFixture = BasicWindowFixture<RecordingDesktop>;
