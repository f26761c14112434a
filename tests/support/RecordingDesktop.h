#pragma once

#include <QDate>
#include <QImage>
#include <QPainter>
#include <vector>

#include "Desktop.h"
#include "PageImage.h"

// A desktop that shows nothing: it writes down the messages and beeps it is asked for, and
// can pretend the printer works or fails; the print tests put the real printer in its place.
class RecordingDesktop : public Desktop {
public:
    struct Message {
        QString prompt;
        MessageStyle style;
        QString title;
    };

    void showMessage(const QString& prompt, MessageStyle style, const QString& title) override {
        messages.push_back({prompt, style, title});
    }
    void beep() override { ++beeps; }
    int currentYear() const override { return QDate::currentDate().year(); }
    quilvane::NumberFormat numberFormat() const override { return format; }
    bool printPage(const PageImage& page) override {
        ++printedPages;
        lastPage = QImage(page.sizeInPixels().toSize(), QImage::Format_RGB32);
        lastPage.fill(Qt::white);
        QPainter painter(&lastPage);
        page.paint(painter);
        return printerWorks;
    }

    std::vector<Message> messages;
    int beeps = 0;
    int printedPages = 0;
    bool printerWorks = true;
    QImage lastPage;
    quilvane::NumberFormat format{u',', u'.'};
};
