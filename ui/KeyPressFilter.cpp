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
    if (!typed) return false;

    const std::int16_t code = m_handler(box->property(kNumberProperty).toInt(), *typed);
    // An unchanged printable character keeps its usual effect, and so does Backspace itself.
    if (code == *typed && code >= 0x20 && key.text() == QString(QChar(char16_t(code))))
        return false;
    if (code == kBackspace) {
        if (key.key() == Qt::Key_Backspace && !(key.modifiers() & Qt::ControlModifier))
            return false;
        box->backspace();
    } else if (code != 0) {
        box->insert(QString(QChar(char16_t(code))));
    }
    return true;
}
