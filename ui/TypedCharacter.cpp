#include "TypedCharacter.h"

#include <QKeyEvent>

std::optional<std::int16_t> typedCharacterCode(const QKeyEvent& event) {
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    if (modifiers & (Qt::AltModifier | Qt::MetaModifier)) return std::nullopt;
    const int key = event.key();
    const bool control = modifiers & Qt::ControlModifier;

    switch (key) {
        case Qt::Key_Backspace:
            return std::int16_t(control ? 127 : 8);
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return std::int16_t(control ? 10 : 13);
        case Qt::Key_Escape:
            return std::int16_t(27);
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return std::nullopt;
        default:
            break;
    }
    if (control) {
        if (key >= Qt::Key_A && key <= Qt::Key_Z) return std::int16_t(key - Qt::Key_A + 1);
        return std::nullopt;
    }
    const QString text = event.text();
    if (text.isEmpty()) return std::nullopt;
    const char16_t first = text.front().unicode();
    if (first < 0x20 || first == 0x7F) return std::nullopt;  // Delete and friends on X11
    return std::int16_t(first);
}
