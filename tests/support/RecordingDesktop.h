#pragma once

#include <QImage>
#include <QString>
#include <vector>

#include "Desktop.h"

// A desktop that shows nothing and never blocks: it writes down the messages and beeps it is
// asked for, answers a fixed year unless told another, and prints as the test says; the print
// tests put the real printer in its place.
class RecordingDesktop : public Desktop {
public:
    // Fixed, so that a test can spell out the whole mean sentence; the real clock is
    // SystemDesktop's.
    static constexpr int kDefaultYear = 2024;

    struct Message {
        QString prompt;
        MessageStyle style;
        QString title;
    };

    void showMessage(const QString& prompt, MessageStyle style, const QString& title) override {
        messages.push_back({prompt, style, title});
    }
    void beep() override { ++beeps; }
    int currentYear() const override { return year; }
    quilvane::NumberFormat numberFormat() const override { return format; }
    // Answers printerWorks; with paintPages the page is rendered for real onto lastPage first.
    bool printPage(const PageImage& page) override;

    std::vector<Message> messages;
    int beeps = 0;
    int year = kDefaultYear;
    quilvane::NumberFormat format{u',', u'.'};

    bool printerWorks = true;
    bool paintPages = true;
    int printedPages = 0;
    int pagesPainted = 0;
    QImage lastPage;
    // Empty while every painted page came out as an image of the page's size with something
    // painted at its centre.
    QString paintingFault;
};
