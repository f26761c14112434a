#include "TypedCharacter.h"

#include <QKeyEvent>

namespace {

std::optional<std::int16_t> printableCode(const QString& text) {
    if (text.isEmpty()) return std::nullopt;
    const char16_t first = text.front().unicode();
    if (first < 0x20 || first == 0x7F) return std::nullopt;  // Delete and friends on X11
    return std::int16_t(first);
}

}  // namespace

std::optional<std::int16_t> typedCharacterCode(const QKeyEvent& event) {
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    const int key = event.key();
    const bool control = modifiers & Qt::ControlModifier;
    const bool alt = modifiers & Qt::AltModifier;
    // Ctrl+Alt is how some keyboards reach their third level (AltGr): what it types is typed.
    if (control && alt) return printableCode(event.text());
    if (alt || (modifiers & Qt::MetaModifier)) return std::nullopt;

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
    return printableCode(event.text());
}

bool typesText(const QKeyEvent& event) {
    return printableCode(event.text()).has_value();
}
