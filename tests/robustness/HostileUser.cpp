#include "HostileUser.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QWheelEvent>
#include <algorithm>

#include "Form1.h"
#include "NastyText.h"
#include "RecordingDesktop.h"

namespace {

// A megabyte through the boxes is slow, so only a few steps of a run get one; fixed steps keep
// a run's actions independent of how many are asked for.
constexpr qint64 kHugeTextPeriod = 6000;
constexpr qint64 kHugeTextPhase = 100;

QString keyName(int key, Qt::KeyboardModifiers modifiers, const QString& text) {
    QString name;
    if (key == 0 || key == Qt::Key_unknown) {
        name = QKeySequence(QKeyCombination(modifiers, Qt::Key_A)).toString();
        name.chop(1);
        name += key == 0 ? QStringLiteral("(no key)") : QStringLiteral("(unknown key)");
    } else if (key == Qt::Key_AltGr) {
        // QKeySequence has no name for it.
        name = QStringLiteral("AltGr");
    } else {
        name = QKeySequence(QKeyCombination(modifiers, Qt::Key(key))).toString();
    }
    if (modifiers & Qt::KeypadModifier) name.prepend(QStringLiteral("Keypad+"));
    return name + QStringLiteral(" text ") + nasty_text::describe(text);
}

qsizetype foreignCharacters(const QString& text) {
    return std::count_if(text.cbegin(), text.cend(),
                         [](QChar c) { return !(c == u',' || (c >= u'0' && c <= u'9')); });
}

// Keys that bring back or paste text: whatever they bring is the clipboard's or the history's.
bool pastesOrUndoes(int key, Qt::KeyboardModifiers modifiers) {
    const QKeyEvent event(QEvent::KeyPress, key, modifiers);
    return event.matches(QKeySequence::Paste) || event.matches(QKeySequence::Undo) ||
           event.matches(QKeySequence::Redo);
}

}  // namespace

HostileUser::HostileUser(Form1& form, RecordingDesktop& desktop, std::uint64_t seed)
    : m_form(form), m_desktop(desktop), m_rng(seed) {
    for (int month = 0; month < 12; ++month)
        m_months[size_t(month)] =
            form.findChild<QLineEdit*>(QStringLiteral("Text%1").arg(month + 2));
    m_list = form.findChild<QListWidget*>(QStringLiteral("List1"));
    m_command = form.findChild<QPushButton*>(QStringLiteral("Command1"));
    m_print = form.findChild<QAction*>(QStringLiteral("mnuStampa"));
    Q_ASSERT(m_list && m_command && m_print);
}

int HostileUser::below(int bound) {
    return std::uniform_int_distribution<int>(0, bound - 1)(m_rng);
}

bool HostileUser::chance(double probability) {
    return std::uniform_real_distribution<double>(0.0, 1.0)(m_rng) < probability;
}

QWidget* HostileUser::focusedOr(QWidget* fallback) const {
    QWidget* focused = QApplication::focusWidget();
    return focused && focused->window() == &m_form ? focused : fallback;
}

bool HostileUser::isMonthBox(const QWidget* widget) const {
    return std::find(m_months.cbegin(), m_months.cend(), widget) != m_months.cend();
}

// The list's auto-scroll after a drag runs on a timer, as far as real time lets it: every action
// that depends on where the list stands scrolls it first, to a place the seed decides.
// Drawn one after the other: the order of a call's arguments is the compiler's choice.
QPoint HostileUser::pointIn(const QRect& rect) {
    const int x = below(qMax(1, rect.width()));
    const int y = below(qMax(1, rect.height()));
    return rect.topLeft() + QPoint(x, y);
}

void HostileUser::scrollListTo(int row) {
    static constexpr std::array<QAbstractItemView::ScrollHint, 3> hints = {
        QAbstractItemView::PositionAtTop, QAbstractItemView::PositionAtCenter,
        QAbstractItemView::PositionAtBottom};
    m_list->scrollToItem(m_list->item(row), hints[size_t(below(int(hints.size())))]);
}

HostileUser::Action HostileUser::act(qint64 step) {
    m_slipped.clear();
    Action action = actOnce(step);
    action.slipped = m_slipped;
    const QString menus = answerOpenMenus();
    if (!menus.isEmpty()) action.description += QStringLiteral("; ") + menus;
    return action;
}

// Keys can open the menu bar's menu (Alt, then an arrow): the user then picks from it with the
// keyboard or the mouse, or leaves it with Escape.
QString HostileUser::answerOpenMenus() {
    QStringList done;
    for (int round = 0; round < 4; ++round) {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu) break;
        const int roll = below(100);
        if (roll < 40) {
            QTest::sendKeyEvent(QTest::Click, menu, Qt::Key_Escape, QStringLiteral("\x1b"), {});
            done.append(QStringLiteral("Escape on the open menu"));
        } else if (roll < 60) {
            QTest::sendKeyEvent(QTest::Click, menu, Qt::Key_Down, QString(), {});
            QTest::sendKeyEvent(QTest::Click, menu, Qt::Key_Return, QStringLiteral("\r"), {});
            done.append(QStringLiteral("Down, Return on the open menu"));
        } else if (roll < 80 && !menu->actions().isEmpty()) {
            QAction* action = menu->actions().at(below(int(menu->actions().size())));
            const QRect place = menu->actionGeometry(action);
            if (action->objectName() == QLatin1StringView("mnuStampa")) {
                m_desktop.printerWorks = chance(0.5);
                m_desktop.paintPages = false;
            }
            QTest::mouseClick(menu, Qt::LeftButton, {}, place.center());
            done.append(QStringLiteral("click %1 on the open menu").arg(action->text()));
        } else {
            QTest::sendKeyEvent(QTest::Click, menu, Qt::Key_Left, QString(), {});
            done.append(QStringLiteral("Left on the open menu"));
        }
        QCoreApplication::processEvents();
    }
    while (QWidget* popup = QApplication::activePopupWidget()) {
        popup->close();
        done.append(QStringLiteral("closed what was still open"));
    }
    return done.join(QStringLiteral("; "));
}

HostileUser::Action HostileUser::actOnce(qint64 step) {
    if (step % kHugeTextPeriod == kHugeTextPhase) return withNastyText(step);
    const int roll = below(100);
    if (roll < 25) return typeKeys();
    if (roll < 33) return retypeNumber();
    if (roll < 36) return retypeEveryMonth();
    if (roll < 56) return withNastyText(step);
    if (roll < 63) return clickListItem();
    if (roll < 65) return dragOverList();
    if (roll < 70) return keyInList();
    if (roll < 71) return wheelOverList();
    if (roll < 80) return pressCommand();
    if (roll < 83) return print();
    if (roll < 89) return changeFocus();
    if (roll < 95) return mouseInBox();
    if (roll < 98) return useContextMenu();
    return repaintWindow();
}

HostileUser::KeyStroke HostileUser::randomKey() {
    static const std::array<std::pair<int, const char16_t*>, 26> editing = {{
        {Qt::Key_Backspace, u"\b"}, {Qt::Key_Delete, u"\x7f"}, {Qt::Key_Delete, u""},
        {Qt::Key_Return, u"\r"},    {Qt::Key_Enter, u"\r"},    {Qt::Key_Escape, u"\x1b"},
        {Qt::Key_Tab, u"\t"},       {Qt::Key_Backtab, u""},    {Qt::Key_Left, u""},
        {Qt::Key_Right, u""},       {Qt::Key_Up, u""},         {Qt::Key_Down, u""},
        {Qt::Key_Home, u""},        {Qt::Key_End, u""},        {Qt::Key_PageUp, u""},
        {Qt::Key_PageDown, u""},    {Qt::Key_Insert, u""},     {Qt::Key_F1, u""},
        {Qt::Key_F10, u""},         {Qt::Key_Space, u" "},     {Qt::Key_Paste, u""},
        {Qt::Key_Copy, u""},        {Qt::Key_Cut, u""},        {Qt::Key_Undo, u""},
        {Qt::Key_Redo, u""},        {Qt::Key_Menu, u""},
    }};
    static const std::array<std::pair<int, const char16_t*>, 13> punctuation = {{
        {Qt::Key_Minus, u"-"},
        {Qt::Key_Plus, u"+"},
        {Qt::Key_Period, u"."},
        {Qt::Key_Comma, u","},
        {Qt::Key_E, u"e"},
        {Qt::Key_Ampersand, u"&"},
        {Qt::Key_Percent, u"%"},
        {Qt::Key_Slash, u"/"},
        {Qt::Key_Asterisk, u"*"},
        {Qt::Key_Semicolon, u";"},
        {Qt::Key_Apostrophe, u"'"},
        {Qt::Key_Egrave, u"\u00E8"},
        {Qt::Key_unknown, u"\u20AC"},
    }};
    static const std::array<const char16_t*, 16> unicode = {
        u"\u00E9", u"\u20AC", u"\u0663", u"\uFF15", u"\u200F", u"\u202E", u"\u00A0", u"\U0001F600",
        u"\xD800", u"\uFFFF", u"\u0301", u"\uFEFF", u"\u00B2", u"\u2167", u"\u0000", u"\x1f",
    };
    static const std::array<int, 5> modifierKeys = {Qt::Key_Shift, Qt::Key_Control, Qt::Key_Alt,
                                                    Qt::Key_Meta, Qt::Key_AltGr};

    KeyStroke stroke;
    switch (below(12)) {
        case 0:
        case 1:
        case 2:
        case 3: {
            const int digit = below(10);
            stroke.key = Qt::Key_0 + digit;
            stroke.text = QString(QChar(u'0' + digit));
            break;
        }
        case 4:
        case 5: {
            const int letter = below(26);
            stroke.key = Qt::Key_A + letter;
            stroke.text = QString(QChar(u'a' + letter));
            break;
        }
        case 6: {
            static const std::array<int, 7> shortcuts = {Qt::Key_C, Qt::Key_X, Qt::Key_V, Qt::Key_A,
                                                         Qt::Key_Z, Qt::Key_Y, Qt::Key_Z};
            const size_t which = size_t(below(int(shortcuts.size())));
            stroke.key = shortcuts[which];
            stroke.modifiers = Qt::ControlModifier;
            if (which + 1 == shortcuts.size()) stroke.modifiers |= Qt::ShiftModifier;
            // X11 sends the control character, test tools the letter: both reach the box.
            const char16_t letter = char16_t(u'a' + (stroke.key - Qt::Key_A));
            stroke.text = QString(QChar(chance(0.5) ? char16_t(letter - u'a' + 1) : letter));
            break;
        }
        case 7: {
            const auto& [key, text] = editing[size_t(below(int(editing.size())))];
            stroke.key = key;
            stroke.text = QString::fromUtf16(text);
            if (key == Qt::Key_Enter) stroke.modifiers = Qt::KeypadModifier;
            break;
        }
        case 8: {
            const auto& [key, text] = punctuation[size_t(below(int(punctuation.size())))];
            stroke.key = key;
            stroke.text = QString::fromUtf16(text);
            break;
        }
        case 9: {
            const char16_t* text = unicode[size_t(below(int(unicode.size())))];
            stroke.key = chance(0.5) ? 0 : int(Qt::Key_unknown);
            // A NUL in the table stands for a text that is one NUL character.
            stroke.text = text[0] == 0 ? QString(QChar(0)) : QString::fromUtf16(text);
            break;
        }
        case 10: {
            static const std::array<std::pair<int, const char16_t*>, 8> keypad = {{
                {Qt::Key_5, u"5"},
                {Qt::Key_0, u"0"},
                {Qt::Key_Period, u"."},
                {Qt::Key_Comma, u","},
                {Qt::Key_Minus, u"-"},
                {Qt::Key_Plus, u"+"},
                {Qt::Key_Asterisk, u"*"},
                {Qt::Key_Slash, u"/"},
            }};
            const auto& [key, text] = keypad[size_t(below(int(keypad.size())))];
            stroke.key = key;
            stroke.text = QString::fromUtf16(text);
            stroke.modifiers = Qt::KeypadModifier;
            break;
        }
        default: {
            if (chance(0.5)) {
                stroke.key = modifierKeys[size_t(below(int(modifierKeys.size())))];
            } else {
                // Several characters in one event, as input methods and auto-repeat may send.
                static const std::array<const char16_t*, 4> several = {u"55", u"a5", u"5a",
                                                                       u"12,5"};
                stroke.key = Qt::Key_5;
                stroke.text = QString::fromUtf16(several[size_t(below(int(several.size())))]);
            }
            break;
        }
    }

    const int roll = below(100);
    if (roll < 55) {
    } else if (roll < 70) {
        stroke.modifiers |= Qt::ShiftModifier;
    } else if (roll < 80) {
        stroke.modifiers |= Qt::ControlModifier;
    } else if (roll < 86) {
        stroke.modifiers |= Qt::AltModifier;
    } else if (roll < 89) {
        stroke.modifiers |= Qt::MetaModifier;
    } else if (roll < 93) {
        stroke.modifiers |= Qt::ControlModifier | Qt::ShiftModifier;
    } else if (roll < 96) {
        stroke.modifiers |= Qt::ControlModifier | Qt::AltModifier;
    } else {
        stroke.modifiers |= Qt::AltModifier | Qt::ShiftModifier;
    }
    if ((stroke.modifiers & Qt::ShiftModifier) && stroke.key >= Qt::Key_A &&
        stroke.key <= Qt::Key_Z && stroke.text.size() == 1 && stroke.text.at(0).isLower())
        stroke.text = stroke.text.toUpper();
    stroke.name = keyName(stroke.key, stroke.modifiers, stroke.text);
    return stroke;
}

HostileUser::KeyStroke HostileUser::randomListKey() {
    static const std::array<std::tuple<int, const char16_t*, Qt::KeyboardModifiers>, 16> keys = {{
        {Qt::Key_Up, u"", {}},
        {Qt::Key_Down, u"", {}},
        {Qt::Key_Down, u"", {}},
        {Qt::Key_PageUp, u"", {}},
        {Qt::Key_PageDown, u"", {}},
        {Qt::Key_Home, u"", {}},
        {Qt::Key_End, u"", {}},
        {Qt::Key_Space, u" ", {}},
        {Qt::Key_Space, u" ", Qt::ControlModifier},
        {Qt::Key_Down, u"", Qt::ShiftModifier},
        {Qt::Key_Down, u"", Qt::ControlModifier},
        {Qt::Key_1, u"1", {}},
        {Qt::Key_2, u"2", {}},
        {Qt::Key_A, u"a", Qt::ControlModifier},
        {Qt::Key_Return, u"\r", {}},
        {Qt::Key_Escape, u"\x1b", {}},
    }};
    if (chance(0.15)) return randomKey();
    const auto& [key, text, modifiers] = keys[size_t(below(int(keys.size())))];
    KeyStroke stroke{key, QString::fromUtf16(text), modifiers, {}};
    stroke.name = keyName(stroke.key, stroke.modifiers, stroke.text);
    return stroke;
}

QString HostileUser::send(QWidget* target, const KeyStroke& stroke) {
    auto* box = isMonthBox(target) ? static_cast<QLineEdit*>(target) : nullptr;
    const qsizetype before = box ? foreignCharacters(box->text()) : 0;
    const QString done = sendStroke(target, stroke);
    if (box && foreignCharacters(box->text()) > before &&
        !pastesOrUndoes(stroke.key, stroke.modifiers))
        m_slipped.append(QStringLiteral("%1 left %2").arg(done, nasty_text::describe(box->text())));
    return done;
}

QString HostileUser::sendStroke(QWidget* target, const KeyStroke& stroke) {
    const QString where = target->objectName().isEmpty()
                              ? QString::fromLatin1(target->metaObject()->className())
                              : target->objectName();
    const int roll = below(100);
    if (roll < 5) {
        // Held down: the auto-repeat presses arrive before the one release.
        const int repeats = 2 + below(6);
        QTest::simulateEvent(target, true, stroke.key, stroke.modifiers, stroke.text, false);
        for (int i = 0; i < repeats; ++i)
            QTest::simulateEvent(target, true, stroke.key, stroke.modifiers, stroke.text, true);
        QTest::simulateEvent(target, false, stroke.key, stroke.modifiers, stroke.text, false);
        return QStringLiteral("held %1 on %2 (%3 repeats)").arg(stroke.name, where).arg(repeats);
    }
    if (roll < 7) {
        QTest::simulateEvent(target, true, stroke.key, stroke.modifiers, stroke.text, false);
        return QStringLiteral("press only %1 on %2").arg(stroke.name, where);
    }
    if (roll < 9) {
        QTest::simulateEvent(target, false, stroke.key, stroke.modifiers, stroke.text, false);
        return QStringLiteral("release only %1 on %2").arg(stroke.name, where);
    }
    QTest::sendKeyEvent(QTest::Click, target, Qt::Key(stroke.key), stroke.text, stroke.modifiers);
    return QStringLiteral("key %1 on %2").arg(stroke.name, where);
}

HostileUser::Action HostileUser::typeKeys() {
    QLineEdit* box = m_months[size_t(below(12))];
    if (chance(0.7)) box->setFocus(Qt::OtherFocusReason);
    QStringList done;
    const int strokes = 1 + below(4);
    for (int i = 0; i < strokes; ++i) done.append(send(focusedOr(box), randomKey()));
    return Action{done.join(QStringLiteral("; "))};
}

// A user tidying up: the whole box replaced, key by key, by a plain number or nothing.
QString HostileUser::retypeNumber(QLineEdit* box) {
    box->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(box, Qt::Key_End);
    QTest::keyClick(box, Qt::Key_Home, Qt::ShiftModifier);
    QTest::keyClick(box, Qt::Key_Delete);
    if (chance(0.05)) return QStringLiteral("clear %1").arg(box->objectName());
    QString number = QString::number(below(chance(0.1) ? 1'000'000'000 : 400));
    if (chance(0.3)) number += u',' + QString::number(below(100));
    QTest::keyClicks(box, number);
    return QStringLiteral("retype %1 as %2").arg(box->objectName(), number);
}

HostileUser::Action HostileUser::retypeNumber() {
    return Action{retypeNumber(m_months[size_t(below(12))])};
}

HostileUser::Action HostileUser::retypeEveryMonth() {
    QStringList done;
    for (QLineEdit* box : m_months) done.append(retypeNumber(box));
    return Action{done.join(QStringLiteral("; "))};
}

HostileUser::Action HostileUser::withNastyText(qint64 step) {
    const bool huge = step % kHugeTextPeriod == kHugeTextPhase;
    const QString text = huge ? nasty_text::huge(m_rng) : nasty_text::pick(m_rng);
    const int roll = below(100);
    if (roll < 45) return pasteFromClipboard(text);
    if (roll < 80) return putProgramText(text);
    if (roll < 90) return commitInputMethod(text);
    return dropText(text);
}

HostileUser::Action HostileUser::pasteFromClipboard(const QString& text) {
    QLineEdit* box = m_months[size_t(below(12))];
    box->setFocus(Qt::OtherFocusReason);
    QString how;
    if (chance(0.3)) {
        QTest::keyClick(box, Qt::Key_End);
        QTest::keyClick(box, Qt::Key_Home, Qt::ShiftModifier);
        how = QStringLiteral("over the whole text ");
    }
    QGuiApplication::clipboard()->setText(text);
    const int roll = below(100);
    if (roll < 75) {
        QTest::keyClick(box, Qt::Key_Insert, Qt::ShiftModifier);
        how += QStringLiteral("with Shift+Ins");
    } else if (roll < 90) {
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_Paste, QString(), Qt::NoModifier);
        how += QStringLiteral("with the Paste key");
    } else {
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        how += QStringLiteral("with Ctrl+V");
    }
    return Action{QStringLiteral("paste %1 into %2 %3")
                      .arg(nasty_text::describe(text), box->objectName(), how)};
}

HostileUser::Action HostileUser::putProgramText(const QString& text) {
    QLineEdit* box = m_months[size_t(below(12))];
    if (chance(0.5)) {
        box->setText(text);
        return Action{
            QStringLiteral("setText %1 on %2").arg(nasty_text::describe(text), box->objectName())};
    }
    box->setCursorPosition(below(int(box->text().size()) + 1));
    box->insert(text);
    return Action{QStringLiteral("insert %1 into %2 at %3")
                      .arg(nasty_text::describe(text), box->objectName())
                      .arg(box->cursorPosition())};
}

// A composition as input methods make it: text shown while being composed, then committed,
// possibly over a few characters around the cursor, and the composed text gone again.
HostileUser::Action HostileUser::commitInputMethod(const QString& text) {
    QLineEdit* box = m_months[size_t(below(12))];
    box->setFocus(Qt::OtherFocusReason);
    const qsizetype before = foreignCharacters(box->text());
    if (chance(0.3)) {
        QInputMethodEvent composing(text.left(2), {});
        QApplication::sendEvent(box, &composing);
    }
    // Replacements count from the cursor in the text without its selection.
    int from = 0;
    int length = 0;
    if (!box->hasSelectedText()) {
        const int cursor = box->cursorPosition();
        const int size = int(box->text().size());
        const int back = std::min(cursor, below(3));
        const int ahead = std::min(size - cursor, below(2));
        from = ahead - back;
        length = std::min(below(4), size - (cursor + from));
    }
    QInputMethodEvent commit;
    commit.setCommitString(text, from, length);
    QApplication::sendEvent(box, &commit);
    const QString done = QStringLiteral("input method commits %1 into %2 replacing %3+%4")
                             .arg(nasty_text::describe(text), box->objectName())
                             .arg(from)
                             .arg(length);
    if (foreignCharacters(box->text()) > before)
        m_slipped.append(QStringLiteral("%1 left %2").arg(done, nasty_text::describe(box->text())));
    return Action{done};
}

HostileUser::Action HostileUser::dropText(const QString& text) {
    QLineEdit* box = m_months[size_t(below(12))];
    const QPoint at = pointIn(box->rect());
    QMimeData data;
    data.setText(text);
    QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(box, &enter);
    QDragMoveEvent move(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(box, &move);
    QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(box, &drop);
    return Action{
        QStringLiteral("drop %1 onto %2").arg(nasty_text::describe(text), box->objectName())};
}

HostileUser::Action HostileUser::clickListItem() {
    const int row = below(m_list->count());
    QListWidgetItem* item = m_list->item(row);
    scrollListTo(row);
    const QPoint at = pointIn(m_list->visualItemRect(item));
    Qt::KeyboardModifiers modifiers;
    const int modifierRoll = below(100);
    if (modifierRoll >= 95)
        modifiers = Qt::AltModifier;
    else if (modifierRoll >= 88)
        modifiers = Qt::ShiftModifier;
    else if (modifierRoll >= 80)
        modifiers = Qt::ControlModifier;
    QWidget* viewport = m_list->viewport();
    const int roll = below(100);
    QString how = QStringLiteral("click");
    if (roll < 85) {
        QTest::mouseClick(viewport, Qt::LeftButton, modifiers, at);
    } else if (roll < 95) {
        QTest::mouseClick(viewport, Qt::LeftButton, modifiers, at);
        QTest::mouseDClick(viewport, Qt::LeftButton, modifiers, at);
        QTest::mouseRelease(viewport, Qt::LeftButton, modifiers, at);
        how = QStringLiteral("double-click");
    } else {
        QTest::mouseClick(viewport, Qt::RightButton, modifiers, at);
        how = QStringLiteral("right-click");
    }
    return Action{QStringLiteral("%1 List1 item %2 at (%3,%4) with modifiers 0x%5")
                      .arg(how, item->text())
                      .arg(at.x())
                      .arg(at.y())
                      .arg(int(modifiers), 0, 16)};
}

HostileUser::Action HostileUser::dragOverList() {
    QWidget* viewport = m_list->viewport();
    const int row = below(m_list->count());
    QListWidgetItem* first = m_list->item(row);
    scrollListTo(row);
    const QPoint from = m_list->visualItemRect(first).center();
    QTest::mousePress(viewport, Qt::LeftButton, {}, from);
    QPoint to = from;
    const int moves = 1 + below(4);
    for (int i = 0; i < moves; ++i) {
        to = pointIn(viewport->rect().adjusted(-20, -40, 20, 40));
        QTest::mouseMove(viewport, to);
    }
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, to);
    return Action{QStringLiteral("drag in List1 from item %1 to (%2,%3)")
                      .arg(first->text())
                      .arg(to.x())
                      .arg(to.y())};
}

HostileUser::Action HostileUser::keyInList() {
    scrollListTo(below(m_list->count()));
    if (chance(0.8)) m_list->setFocus(Qt::OtherFocusReason);
    QStringList done;
    const int strokes = 1 + below(3);
    for (int i = 0; i < strokes; ++i) done.append(send(focusedOr(m_list), randomListKey()));
    return Action{done.join(QStringLiteral("; "))};
}

HostileUser::Action HostileUser::wheelOverList() {
    scrollListTo(below(m_list->count()));
    QWidget* viewport = m_list->viewport();
    const QPoint at = pointIn(viewport->rect());
    const int delta = (below(7) - 3) * 120;
    QWheelEvent wheel(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport, &wheel);
    return Action{QStringLiteral("wheel %1 over List1").arg(delta)};
}

HostileUser::Action HostileUser::pressCommand() {
    const bool enabled = m_command->isEnabled();
    const QString state = enabled ? QStringLiteral("enabled") : QStringLiteral("disabled");
    switch (below(4)) {
        case 0:
        case 1:
            QTest::mouseClick(m_command, Qt::LeftButton);
            return Action{QStringLiteral("mouse click on %1 Command1").arg(state), enabled};
        case 2:
            m_command->click();
            return Action{QStringLiteral("click() on %1 Command1").arg(state), enabled};
        default: {
            m_command->setFocus(Qt::OtherFocusReason);
            const bool space = chance(0.5);
            QWidget* target = focusedOr(m_command);
            QTest::keyClick(target, space ? Qt::Key_Space : Qt::Key_Return);
            return Action{QStringLiteral("%1 on %2 (Command1 %3)")
                              .arg(space ? QStringLiteral("Space") : QStringLiteral("Return"),
                                   target->objectName(), state)};
        }
    }
}

HostileUser::Action HostileUser::print() {
    const bool printed = chance(0.5);
    const bool paint = chance(0.2);
    m_desktop.printerWorks = printed;
    m_desktop.paintPages = paint;
    m_print->trigger();
    return Action{QStringLiteral("Stampa, printer %1%2")
                      .arg(printed ? QStringLiteral("prints") : QStringLiteral("fails"),
                           paint ? QStringLiteral(", page painted") : QString()),
                  false, printed};
}

HostileUser::Action HostileUser::changeFocus() {
    const int roll = below(100);
    if (roll < 50) {
        const int which = below(15);
        QWidget* target = which < 12    ? static_cast<QWidget*>(m_months[size_t(which)])
                          : which == 12 ? static_cast<QWidget*>(m_list)
                          : which == 13 ? static_cast<QWidget*>(m_command)
                                        : m_form.findChild<QLineEdit*>(QStringLiteral("Text1"));
        target->setFocus(Qt::OtherFocusReason);
        return Action{QStringLiteral("focus %1").arg(target->objectName())};
    }
    if (roll < 90) {
        const bool back = chance(0.4);
        QWidget* target = focusedOr(&m_form);
        QTest::keyClick(target, back ? Qt::Key_Backtab : Qt::Key_Tab,
                        back ? Qt::ShiftModifier : Qt::NoModifier);
        return Action{QStringLiteral("%1 from %2")
                          .arg(back ? QStringLiteral("Backtab") : QStringLiteral("Tab"),
                               target->objectName())};
    }
    if (QWidget* focused = QApplication::focusWidget()) focused->clearFocus();
    return Action{QStringLiteral("clear focus")};
}

HostileUser::Action HostileUser::mouseInBox() {
    QLineEdit* box = m_months[size_t(below(12))];
    const QPoint at = pointIn(box->rect());
    const int roll = below(100);
    if (roll < 60) {
        QTest::mouseClick(box, Qt::LeftButton, {}, at);
        return Action{QStringLiteral("click %1 at x %2").arg(box->objectName()).arg(at.x())};
    }
    if (roll < 80) {
        QTest::mouseClick(box, Qt::LeftButton, {}, at);
        QTest::mouseDClick(box, Qt::LeftButton, {}, at);
        QTest::mouseRelease(box, Qt::LeftButton, {}, at);
        return Action{QStringLiteral("double-click %1 at x %2").arg(box->objectName()).arg(at.x())};
    }
    const QPoint to(below(box->width() + 60) - 30, at.y());
    QTest::mousePress(box, Qt::LeftButton, {}, at);
    QTest::mouseMove(box, to);
    QTest::mouseRelease(box, Qt::LeftButton, {}, to);
    return Action{QStringLiteral("drag-select in %1 from x %2 to x %3")
                      .arg(box->objectName())
                      .arg(at.x())
                      .arg(to.x())};
}

HostileUser::Action HostileUser::useContextMenu() {
    QLineEdit* box = m_months[size_t(below(12))];
    box->setFocus(Qt::OtherFocusReason);
    if (chance(0.3)) box->selectAll();
    if (chance(0.3)) QGuiApplication::clipboard()->setText(nasty_text::pick(m_rng));
    const QPoint at = box->rect().center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, box->mapToGlobal(at));
    QApplication::sendEvent(box, &event);

    QString chosen = QStringLiteral("nothing");
    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
        QList<QAction*> actions;
        for (QAction* action : menu->actions()) {
            if (QMenu* sub = action->menu()) {
                for (QAction* inner : sub->actions())
                    if (inner->isEnabled() && !inner->isSeparator()) actions.append(inner);
            } else if (action->isEnabled() && !action->isSeparator()) {
                actions.append(action);
            }
        }
        if (!actions.isEmpty()) {
            QAction* action = actions.at(below(int(actions.size())));
            chosen = action->text();
            action->trigger();
        }
    }
    while (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    return Action{QStringLiteral("context menu of %1: %2").arg(box->objectName(), chosen)};
}

HostileUser::Action HostileUser::repaintWindow() {
    if (chance(0.5)) {
        const QPixmap shot = m_form.grab();
        return Action{
            QStringLiteral("grab the window (%1x%2)").arg(shot.width()).arg(shot.height())};
    }
    m_form.repaint();
    return Action{QStringLiteral("repaint the window")};
}
