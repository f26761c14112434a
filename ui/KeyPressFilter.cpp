#include "KeyPressFilter.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>

#include "TypedCharacter.h"

namespace {
const char* const kNumberProperty = "textBoxNumber";
constexpr std::int16_t kBackspace = 8;
}  // namespace

KeyPressFilter::KeyPressFilter(Handler handler, QObject* parent)
    : QObject(parent), m_handler(std::move(handler)) {}

void KeyPressFilter::watch(QObject* textBox, int number) {
    textBox->setProperty(kNumberProperty, number);
    textBox->installEventFilter(this);
}

bool KeyPressFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::InputMethod) {
        filterCommit(watched, static_cast<QInputMethodEvent&>(*event));
        return false;
    }
    if (event->type() != QEvent::KeyPress) return false;
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (!box) return false;
    const auto& key = static_cast<const QKeyEvent&>(*event);
    const std::optional<std::int16_t> typed = typedCharacterCode(key);
    // A combination that types no character (Alt+letter, Ctrl on the keypad) keeps whatever
    // editing action it has, but must not slip its text into the box past the filter.
    if (!typed) return typesText(key);

    const std::int16_t code = m_handler(box->property(kNumberProperty).toInt(), *typed);
    if (code == kBackspace) {
        // Backspace itself keeps its usual effect; Ctrl+H, which types the same code, gets it.
        if (key.key() == Qt::Key_Backspace && !(key.modifiers() & Qt::ControlModifier))
            return false;
        box->backspace();
    } else if (code != 0) {
        // Inserted as typing would: over the selection, at the cursor.
        box->insert(QString(QChar(char16_t(code))));
    }
    return true;
}

// An input method types its committed text without key presses: each character goes through
// the handler as if typed, so that only what typing could insert reaches the box.
void KeyPressFilter::filterCommit(QObject* watched, QInputMethodEvent& event) const {
    const QString committed = event.commitString();
    if (committed.isEmpty()) return;
    const int number = watched->property(kNumberProperty).toInt();
    QString filtered;
    for (qsizetype i = 0; i < committed.size(); ++i) {
        const QChar c = committed.at(i);
        // A character beyond 16 bits is typed once, as its first half, like a key's text.
        if (c.isLowSurrogate() && i > 0 && committed.at(i - 1).isHighSurrogate()) continue;
        const std::int16_t code = m_handler(number, std::int16_t(c.unicode()));
        if (code >= 0x20) filtered.append(QChar(char16_t(code)));
    }
    event.setCommitString(filtered, event.replacementStart(), event.replacementLength());
}
