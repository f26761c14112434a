#include "KeyPressFilter.h"

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
