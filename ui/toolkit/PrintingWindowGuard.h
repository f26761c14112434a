#pragma once

#include <QObject>

class QEvent;
class QWidget;

// Held for as long as a print runs. The window goes on answering its desktop meanwhile, but
// not its user: input made during the print is dropped as it comes, not played back all at once
// when it ends, seconds later, when the user no longer expects it (impatient clicks on "Stampa" among
// it). A dialog that a handler shows meanwhile (reached by a screen reader's action, say) is
// the exception: it hears its user, or nobody could answer it and the print would never end.
// A request to close the window waits for the print to end. The busy cursor says why clicks do
// nothing.
class PrintingWindowGuard : public QObject {
public:
    // closeAsked is set when the window was asked to close during the print, by the title bar,
    // the desktop or a key such as Alt+F4: read it once the guard is gone. The close is the
    // caller's to make.
    PrintingWindowGuard(QWidget& window, bool& closeAsked);
    ~PrintingWindowGuard() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool isForDialogShownMeanwhile(QObject* receiver) const;

    QWidget& m_window;
    bool& m_closeAsked;
};
