#pragma once

#include <QObject>
#include <cstdint>
#include <functional>

class QInputMethodEvent;

// Hands every character typed into a text box, or committed to it by an input method, to a
// handler that may replace it, and makes the box insert the replacement. Keys that type no
// character pass untouched.
class KeyPressFilter : public QObject {
    Q_OBJECT

public:
    // Receives the box's number and the typed code; returns the code to insert.
    using Handler = std::function<std::int16_t(int textBox, std::int16_t code)>;

    KeyPressFilter(Handler handler, QObject* parent);

    void watch(QObject* textBox, int number);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void filterCommit(QObject* watched, QInputMethodEvent& event) const;

    Handler m_handler;
};
