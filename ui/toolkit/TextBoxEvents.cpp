#include "TextBoxEvents.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <optional>

#include "FormToolkit.h"

namespace {

std::optional<std::int16_t> printableCode(const QString& text) {
    if (text.isEmpty()) return std::nullopt;
    const char16_t first = text.front().unicode();
    if (first < 0x20 || first == 0x7F) return std::nullopt;  // Delete and friends on X11
    return std::int16_t(first);
}

// The character code a key press types, as the form's key handler knows them: Backspace 8,
// Enter 13, Escape 27, Ctrl+letter 1 to 26, Ctrl+Backspace 127; anything beyond 16 bits
// wraps. Keys that type no character (arrows, Delete, Home, End, Tab, Shift+Insert...) give
// nothing and keep their editing action.
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
            return std::int16_t(control ? 127 : FormToolkit::kBackspaceCode);
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

}  // namespace

TextBoxEvents::TextBoxEvents(KeyPress keyPress, QObject* parent)
    : QObject(parent), m_keyPress(std::move(keyPress)) {}

void TextBoxEvents::filterKeys(QLineEdit* box) {
    box->installEventFilter(this);
}

bool TextBoxEvents::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) return selectAfterFocus(watched, *event);
    if (event->type() == QEvent::InputMethod) {
        filterCommit(static_cast<QInputMethodEvent&>(*event));
        return false;
    }
    if (event->type() != QEvent::KeyPress) return false;
    auto* box = qobject_cast<QLineEdit*>(watched);
    return box && filterKeyPress(*box, static_cast<const QKeyEvent&>(*event));
}

// Qt selects a box's text on Tab before it tells a screen reader of the focus, and Orca then
// speaks the value twice: as a selection somewhere, then on arrival. Under a screen reader the
// box takes the focus first and selects its text right after; without one nothing changes.
bool TextBoxEvents::selectAfterFocus(QObject* watched, const QEvent& event) {
    auto* box = qobject_cast<QLineEdit*>(watched);
    const Qt::FocusReason reason = static_cast<const QFocusEvent&>(event).reason();
    if (!box || box->text().isEmpty() || !QAccessible::isActive() ||
        (reason != Qt::TabFocusReason && reason != Qt::BacktabFocusReason))
        return false;
    QFocusEvent plain(QEvent::FocusIn, Qt::OtherFocusReason);
    QCoreApplication::sendEvent(box, &plain);
    QMetaObject::invokeMethod(box, &QLineEdit::selectAll, Qt::QueuedConnection);
    return true;
}

// True when the press is dealt with here and the box must not see it.
bool TextBoxEvents::filterKeyPress(QLineEdit& box, const QKeyEvent& key) const {
    // Text1 is out of the user's reach: a key that still arrives (an accessibility tool, a
    // synthetic event) is the read-only box's to ignore, not the filter's to insert.
    if (box.isReadOnly()) return false;
    const std::optional<std::int16_t> typed = typedCharacterCode(key);
    // A combination that types no character (Alt+letter, Ctrl on the keypad) keeps whatever
    // editing action it has, but must not slip its text into the box past the filter.
    if (!typed) return printableCode(key.text()).has_value();

    const std::int16_t code = m_keyPress(*typed);
    if (code == FormToolkit::kBackspaceCode) {
        // Backspace itself keeps its usual effect; Ctrl+H, which types the same code, gets it.
        if (key.key() == Qt::Key_Backspace && !(key.modifiers() & Qt::ControlModifier))
            return false;
        box.backspace();
    } else if (code != 0) {
        // Inserted as typing would: over the selection, at the cursor.
        box.insert(QString(QChar(char16_t(code))));
    }
    return true;
}

// An input method types its committed text without key presses: each character goes through
// the key handler as if typed, so that only what typing could insert reaches the box.
void TextBoxEvents::filterCommit(QInputMethodEvent& event) const {
    const QString committed = event.commitString();
    if (committed.isEmpty()) return;
    QString filtered;
    for (qsizetype i = 0; i < committed.size(); ++i) {
        const QChar c = committed.at(i);
        // A character beyond 16 bits is typed once, as its first half, like a key's text.
        if (c.isLowSurrogate() && i > 0 && committed.at(i - 1).isHighSurrogate()) continue;
        const std::int16_t code = m_keyPress(std::int16_t(c.unicode()));
        if (code >= 0x20) filtered.append(QChar(char16_t(code)));
    }
    event.setCommitString(filtered, event.replacementStart(), event.replacementLength());
}

// Compiled with this file: in a file of its own, it would parse Qt's headers once more.
#include "moc_TextBoxEvents.cpp"
