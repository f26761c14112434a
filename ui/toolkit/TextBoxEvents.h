#pragma once

#include <QObject>
#include <cstdint>
#include <functional>

class QInputMethodEvent;
class QKeyEvent;
class QLineEdit;

// Delivers a text box's KeyPress events to the form's key handler. Every character typed into
// a box, or committed to it by an input method, goes through the handler, and the box inserts
// the code that it returns; keys that type no character pass untouched. Under a screen reader
// it also orders a box's focus before the selection that Tab makes, so the value is said once.
class TextBoxEvents : public QObject {
    Q_OBJECT

public:
    using KeyPress = std::function<std::int16_t(std::int16_t code)>;

    TextBoxEvents(KeyPress keyPress, QObject* parent);

    void filterKeys(QLineEdit* box);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static bool selectAfterFocus(QObject* watched, const QEvent& event);
    bool filterKeyPress(QLineEdit& box, const QKeyEvent& key) const;
    void filterCommit(QInputMethodEvent& event) const;

    KeyPress m_keyPress;
};
