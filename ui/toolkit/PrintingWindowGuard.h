#pragma once

#include <QObject>

class QEvent;
class QWidget;

// Held for as long as a print runs. The window goes on answering its desktop meanwhile, but
// not its user: input made during the print is dropped, not played back all at once when it
// ends, seconds later, when the user no longer expects it (impatient clicks on "Stampa" among
// it). A request to close the window waits for the print to end. The busy cursor says why
// clicks do nothing.
class PrintingWindowGuard : public QObject {
public:
    explicit PrintingWindowGuard(QWidget& window);
    ~PrintingWindowGuard() override;

    // Whether the window was asked to close during the print; the close is the caller's to make.
    bool closeAsked() const { return m_closeAsked; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& m_window;
    bool m_closeAsked = false;
};
