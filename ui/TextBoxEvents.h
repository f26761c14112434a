#pragma once

#include <QObject>

class Form1Handlers;
class QInputMethodEvent;
class QKeyEvent;
class QLineEdit;

// Delivers a text box's KeyPress and Change events to the form's handlers. Every character
// typed into a box, or committed to it by an input method, goes through the key handler,
// and the box inserts what that returns; keys that type no character pass untouched.
class TextBoxEvents : public QObject {
    Q_OBJECT

public:
    TextBoxEvents(Form1Handlers& handlers, QObject* parent);

    // The key filter, for every box.
    void filterKeys(QLineEdit* box);
    // The live bar, for a month box: its text on every change.
    void followMonthText(QLineEdit* box, int number);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool filterKeyPress(QLineEdit& box, const QKeyEvent& key) const;
    void filterCommit(QInputMethodEvent& event) const;

    Form1Handlers& m_handlers;
};
