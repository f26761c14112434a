#pragma once

#include <QString>
#include <QStringList>

#include "Desktop.h"

// A desktop that never blocks: messages are recorded instead of shown, and the printer does
// whatever the test scripted for the next page.
class ScriptedDesktop : public Desktop {
public:
    static constexpr int kYear = 2024;

    void showMessage(const QString& prompt, MessageStyle style, const QString& title) override;
    void beep() override { ++m_beeps; }
    int currentYear() const override { return kYear; }
    quilvane::NumberFormat numberFormat() const override { return {u',', u'.'}; }
    bool printPage(const PageImage& page) override;

    // The outcome of the next printPage; painting renders the page for real, onto an image.
    void scriptNextPrint(bool printed, bool paint);

    const QStringList& messages() const { return m_messages; }
    int beeps() const { return m_beeps; }
    int pagesPainted() const { return m_pagesPainted; }
    // Empty while every painted page came out as a non-empty image of the page's size.
    const QString& paintingFault() const { return m_paintingFault; }

private:
    QStringList m_messages;
    int m_beeps = 0;
    int m_pagesPainted = 0;
    bool m_nextPrinted = true;
    bool m_nextPainted = false;
    QString m_paintingFault;
};
