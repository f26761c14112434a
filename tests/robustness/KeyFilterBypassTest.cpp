#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>
#include <memory>

#include "NastyText.h"
#include "OneTestOfMany.h"
#include "WindowFixture.h"

// A month box takes digits as they are and turns every other typed character into a comma.
// Qt inserts a key's text on its own for combinations the filter may take for "no character"
// (Alt, Meta, Ctrl+Alt, Ctrl on the keypad), and input methods commit text with no key press
// at all: every one of these ways of typing must end up filtered like plain typing.

Q_DECLARE_METATYPE(Qt::KeyboardModifiers)

namespace {

bool onlyDigitsAndCommas(const QString& text) {
    static const QRegularExpression allowed(QStringLiteral("^[0-9,]*$"));
    return allowed.match(text).hasMatch();
}

// Every printable ASCII character and a few that layouts type besides; on the keypad only
// what the keypad has.
QStringList typedTexts(Qt::KeyboardModifiers modifiers) {
    QStringList texts;
    if (modifiers & Qt::KeypadModifier) {
        for (QChar c : QStringLiteral("0123456789.,+-*/")) texts.append(QString(c));
        return texts;
    }
    for (char16_t c = 0x20; c < 0x7F; ++c) texts.append(QString(QChar(c)));
    for (const char16_t* extra : {u"\u00E8", u"\u20AC", u"\u00A7", u"\u0663", u"\uFF15", u"\u200F",
                                  u"\u200D", u"\U0001F600"})
        texts.append(QString::fromUtf16(extra));
    return texts;
}

// The key code X11 reports with the text: the character's upper case for Latin-1.
Qt::Key keyFor(const QString& text) {
    const QChar c = text.at(0);
    if (text.size() == 1 && c.unicode() < 0x100) return Qt::Key(c.toUpper().unicode());
    return Qt::Key_unknown;
}

QString strokeName(Qt::KeyboardModifiers modifiers, Qt::Key key, const QString& text) {
    if (key == Qt::Key_unknown) {
        QString held = QKeySequence(QKeyCombination(modifiers, Qt::Key_A)).toString();
        held.chop(1);
        return held + nasty_text::describe(text);
    }
    return QKeySequence(QKeyCombination(modifiers, key)).toString();
}

}  // namespace

class KeyFilterBypassTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void keysWithModifiersTypeOnlyDigitsAndCommas_data();
    void keysWithModifiersTypeOnlyDigitsAndCommas();
    void inputMethodCommitsAreFilteredLikeTyping_data();
    void inputMethodCommitsAreFilteredLikeTyping();
    void cleanupTestCase();

private:
    QLineEdit* emptiedJanuary();

    std::unique_ptr<WindowFixture> m_window;
};

void KeyFilterBypassTest::initTestCase() {
    m_window = std::make_unique<WindowFixture>();
    QVERIFY(m_window->form->isActiveWindow());
}

void KeyFilterBypassTest::cleanupTestCase() {
    m_window.reset();
}

QLineEdit* KeyFilterBypassTest::emptiedJanuary() {
    QLineEdit* box = m_window->box(2);
    box->clear();
    box->setFocus(Qt::OtherFocusReason);
    return box;
}

void KeyFilterBypassTest::keysWithModifiersTypeOnlyDigitsAndCommas_data() {
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::newRow("keys typed alone leave only digits and commas")
        << Qt::KeyboardModifiers(Qt::NoModifier);
    QTest::newRow("keys typed with Shift leave only digits and commas")
        << Qt::KeyboardModifiers(Qt::ShiftModifier);
    QTest::newRow("keys typed with Ctrl leave only digits and commas")
        << Qt::KeyboardModifiers(Qt::ControlModifier);
    QTest::newRow("keys typed with Ctrl+Shift leave only digits and commas")
        << (Qt::ControlModifier | Qt::ShiftModifier);
    QTest::newRow("keys typed with Alt leave only digits and commas")
        << Qt::KeyboardModifiers(Qt::AltModifier);
    QTest::newRow("keys typed with Alt+Shift leave only digits and commas")
        << (Qt::AltModifier | Qt::ShiftModifier);
    QTest::newRow("keys typed with Meta leave only digits and commas")
        << Qt::KeyboardModifiers(Qt::MetaModifier);
    QTest::newRow("keys typed with Ctrl+Alt leave only digits and commas")
        << (Qt::ControlModifier | Qt::AltModifier);
    QTest::newRow("keys typed on the keypad leave only digits and commas")
        << Qt::KeyboardModifiers(Qt::KeypadModifier);
    QTest::newRow("keys typed on the keypad with Ctrl leave only digits and commas")
        << (Qt::KeypadModifier | Qt::ControlModifier);
}

void KeyFilterBypassTest::keysWithModifiersTypeOnlyDigitsAndCommas() {
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QStringList letThrough;
    for (const QString& text : typedTexts(modifiers)) {
        QLineEdit* box = emptiedJanuary();
        const Qt::Key key = keyFor(text);
        QTest::sendKeyEvent(QTest::Click, box, key, text, modifiers);
        if (!onlyDigitsAndCommas(box->text()))
            letThrough.append(
                QStringLiteral("%1 typed %2")
                    .arg(strokeName(modifiers, key, text), nasty_text::describe(box->text())));
    }
    QVERIFY2(letThrough.isEmpty(),
             qPrintable(QStringLiteral("%1 keys typed more: ").arg(letThrough.size()) +
                        letThrough.mid(0, 12).join(QStringLiteral(", "))));
}

void KeyFilterBypassTest::inputMethodCommitsAreFilteredLikeTyping_data() {
    QTest::addColumn<QString>("committed");
    QTest::addColumn<QString>("expected");
    QTest::newRow("digits committed by an input method stay digits")
        << QStringLiteral("123") << QStringLiteral("123");
    QTest::newRow("letters committed by an input method become commas")
        << QStringLiteral("abc") << QStringLiteral(",,,");
    QTest::newRow("a signed decimal committed by an input method keeps only its digits")
        << QStringLiteral("-1.5") << QStringLiteral(",1,5");
    QTest::newRow("Arabic-Indic digits committed by an input method become commas")
        << QStringLiteral("\u0661\u0662") << QStringLiteral(",,");
    QTest::newRow("a right-to-left mark committed by an input method becomes a comma")
        << QStringLiteral("\u200F") << QStringLiteral(",");
}

void KeyFilterBypassTest::inputMethodCommitsAreFilteredLikeTyping() {
    QFETCH(QString, committed);
    QFETCH(QString, expected);
    QLineEdit* box = emptiedJanuary();
    QInputMethodEvent event;
    event.setCommitString(committed);
    QApplication::sendEvent(box, &event);
    QCOMPARE(box->text(), expected);
}

QUILVANE_TEST_MAIN(KeyFilterBypassTest)
#include "KeyFilterBypassTest.moc"
