#pragma once

#include "Desktop.h"
#include "SystemDesktop.h"

// The real desktop without anything that blocks or leaves the process: no dialogs, no sound,
// no printer. The clock and the regional format still come from the system, so that a
// keystroke costs what it costs in the application.
class QuietDesktop : public Desktop {
public:
    QuietDesktop() = default;

    void showMessage(const QString& prompt, MessageStyle style, const QString& title) override;
    void beep() override;
    int currentYear() const override;
    quilvane::NumberFormat numberFormat() const override;
    bool printPage(const PageImage& page) override;

    int messagesShown() const { return m_messagesShown; }

private:
    SystemDesktop m_system;
    int m_messagesShown = 0;
};
